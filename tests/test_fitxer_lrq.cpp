#include "core/activitat.h"
#include "activitat_gran.h"
#include "core/camins.h"
#include "core/fitxer_lrq.h"
#include "core/idioma.h"
#include "core/text_codec.h"
#include "vigia_assignacions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtGlobal>
#include <clocale>
#include <gtest/gtest.h>

namespace lumi {
// Versions show by their header in test names and messages.
void PrintTo(Versio v, std::ostream* os) {
    *os << capcalera_versio(v).toStdString();
}
} // namespace lumi

using namespace lumi;

namespace {

const QString CARPETA = QStringLiteral("/act");
const QChar SEP(0xBB);

QString L(const char* s) {
    return QString::fromUtf8(s).replace(QStringLiteral("»"), QString(SEP));
}

Activitat activitat_nova(QRect escriptori = QRect(0, 0, 1280, 960)) {
    Activitat a;
    Llistes l;
    EstatDispositius d;
    d.num_joystick = 100;
    EstatJugador j;
    EntornNou e;
    e.escriptori = escriptori;
    exercici_nou(a, l, d, j, e);
    return a;
}

OpcionsLectura opcions(const QString& llengua = IDIOMA_CATALA, QRect escriptori = QRect(0, 0, 1280, 960)) {
    OpcionsLectura o;
    o.llengua = llengua;
    o.carpeta = CARPETA;
    o.escriptori = escriptori;
    return o;
}

std::string valor(const std::vector<ValorFitxer>& v, size_t i) {
    return i < v.size() ? v[i].dades.toStdString() : std::string("(cap)");
}
std::string str(const QByteArray& b) {
    return b.toStdString();
}

// ---------------------------------------------------------------------------
// A writer of every version, from the tables of what each version stores.
// Values are given as they stand in the file; text values get their quotes here.

struct ItemDesat {
    std::array<QString, 11> teclat;
    std::array<QString, 8> jostick;
    std::array<QString, 15> veu;
    std::array<QString, 3> nivell;
    std::array<QString, 12> web;
    std::array<QString, 4> ratoli;
    QString zones_ratoli, zones_web, retard_be, retard_mal, si_be, si_mal, tecles, serie, retard_accio,
        retard_estimul, estimuls;
    ItemDesat() {
        teclat.fill(QStringLiteral("0"));
        jostick.fill(QStringLiteral("0"));
        veu.fill(QStringLiteral("0"));
        nivell.fill(QStringLiteral("0"));
        web.fill(QStringLiteral("0"));
        ratoli.fill(QStringLiteral("0"));
        retard_be = retard_mal = retard_accio = retard_estimul = QStringLiteral("0");
    }
};

struct Desat {
    std::vector<ItemDesat> items;
    QString color_fons, font_nom, mida, negreta, cursiva, font_color, finestra_opcio, paraules, carpeta_veu,
        reserva_llarg, reserva_enter, decimes, consigna, temps_total, tots_estimul, tots_be, tots_mal,
        r_accio, r_estimul, r_be, r_mal, mode, imatge_fons, so_fons, tots_temps;
    std::vector<std::array<QString, 5>> zones; // zone 0 first
    QString seguent;
};

QByteArray escriure_versio(Versio v, const Desat& d) {
    QStringList out;
    auto t = [&](const QString& s) { out << u'"' + s + u'"'; };
    auto n = [&](const QString& s) { out << s; };
    const bool ge42 = v >= Versio::v4_2, ge5 = v >= Versio::v5, ge7 = v >= Versio::v7;
    t(capcalera_versio(v));
    n(QString::number(d.items.size()));
    for (const ItemDesat& it : d.items) {
        const int teclat = v == Versio::v1 ? 4 : v == Versio::v2 ? 10 : 11;
        for (int k = 0; k < teclat; ++k)
            n(it.teclat[k]);
        if (ge42) {
            for (const auto& s : it.jostick)
                n(s);
            for (const auto& s : it.veu)
                n(s);
        }
        if (ge5)
            for (const auto& s : it.nivell)
                n(s);
        if (ge7)
            for (const auto& s : it.web)
                n(s);
        for (int k = 0; k < (ge5 ? 4 : 3); ++k)
            n(it.ratoli[k]);
        if (ge5) t(it.zones_ratoli);
        if (ge7) t(it.zones_web);
        n(it.retard_be);
        if (ge7) n(it.retard_mal);
        t(it.si_be);
        if (v >= Versio::v3) t(it.si_mal);
        t(it.tecles);
        if (v >= Versio::v3) t(it.serie);
        if (v >= Versio::v2) {
            n(it.retard_accio);
            n(it.retard_estimul);
            t(it.estimuls);
        }
    }
    if (v >= Versio::v3) {
        n(d.color_fons);
        t(d.font_nom);
        n(d.mida);
        n(d.negreta);
        n(d.cursiva);
        if (v >= Versio::v4) n(d.font_color);
        n(d.finestra_opcio);
        t(d.paraules);
        t(d.carpeta_veu);
        n(d.reserva_llarg);
        n(d.reserva_enter);
        if (v >= Versio::v4) n(d.decimes);
        if (v >= Versio::v4_1) {
            t(d.consigna);
            n(d.temps_total);
        }
        if (ge5) {
            n(d.tots_estimul);
            n(d.tots_be);
            n(d.tots_mal);
        }
        if (v >= Versio::v6_1) {
            n(d.r_accio);
            n(d.r_estimul);
            n(d.r_be);
            if (ge7) n(d.r_mal);
            t(d.mode);
        }
        if (ge5) t(d.imatge_fons);
        if (v >= Versio::v6) {
            t(d.so_fons);
            n(d.tots_temps);
        }
    }
    if (ge5) {
        n(QString::number(d.zones.size() - 1));
        for (const auto& z : d.zones) {
            for (int k = 0; k < 4; ++k)
                n(z[k]);
            if (v == Versio::v7_1) t(z[4]);
        }
        t(d.seguent);
    }
    return codificar_text(out.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

// ---------------------------------------------------------------------------
// One activity in the form each version stored it, what loading it must give
// (interface language Galician, folder /act, desktop 1280 x 960 where the
// file was saved on 1024 x 768), and the current file that must come out.

const QString GAL = IDIOMA_GALEGO;

QString so_nivell() {
    return QStringLiteral("S") + cp1252_a_caracter(136) + cp1252_a_caracter(176);
}

Desat desat_antic(Versio v) {
    const bool nou = v >= Versio::v4; // lists with "»" and keywords (mark B)
    const bool codis = v >= Versio::v5;
    Desat d;
    ItemDesat a, b;
    for (int k = 0; k < 11; ++k)
        a.teclat[k] = QString::number(k % 2 == 0 ? 1 : 0);
    a.jostick[0] = a.jostick[7] = QStringLiteral("1");
    a.veu[3] = QStringLiteral("1");
    a.nivell = {QStringLiteral("1"), QStringLiteral("10"), QStringLiteral("50")};
    a.web[3] = QStringLiteral("1");
    a.ratoli = {QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1")};
    a.zones_ratoli = QStringLiteral("Z01Z02");
    a.zones_web = QStringLiteral("W01");
    a.retard_be = QStringLiteral("2.5");
    a.retard_mal = QStringLiteral("1.5");
    a.retard_accio = QStringLiteral("5");
    a.retard_estimul = QStringLiteral(".5");
    a.si_be = nou ? L("2»a.bmp»COLOR_255|c.gif") : L("2»a.bmp b.wav|c.gif");
    a.si_mal = nou ? L("1»ESPERA_2»d.wav") : L("1»d.wav");
    a.estimuls = nou ? L("1»CENTRAT_hola»e.jpg") : L("1»e.jpg f.wav");
    // Old key lists are brace text; item 2 names its keys in Galician.
    a.tecles = codis ? QStringLiteral("H39H1E") + so_nivell() : QStringLiteral("{ESPAI}a{Cur.Amunt}");
    a.serie = codis ? QStringLiteral("H3BH3C") : QStringLiteral("{F1}");
    b.tecles = codis ? QStringLiteral("H22H18H1FH48")
                     : QStringLiteral("gos") + tradueix_en(GAL, QStringLiteral("{Cur.Amunt}"));
    b.veu[2] = QStringLiteral("1");
    b.retard_be = QStringLiteral("1");
    d.items = {a, b};
    d.color_fons = QStringLiteral("255");
    d.font_nom = QStringLiteral("Verdana");
    d.mida = QStringLiteral("18");
    d.negreta = QStringLiteral("0");
    d.cursiva = QStringLiteral("-1");
    d.font_color = QStringLiteral("16711680");
    d.finestra_opcio = QStringLiteral("2");
    d.paraules = v == Versio::v3     ? QStringLiteral("gat,gos")
                 : v <= Versio::v4_1 ? QStringLiteral("gat^gos")
                                     : QStringLiteral("1^2^");
    d.carpeta_veu = QStringLiteral("veus");
    d.reserva_llarg = QStringLiteral("7");
    d.reserva_enter = QStringLiteral("3");
    d.decimes = QStringLiteral("4");
    d.consigna = L("CENTRAT_hola»a.bmp");
    d.temps_total = QStringLiteral("60");
    d.tots_estimul = QStringLiteral("1");
    d.tots_be = QStringLiteral("0");
    d.tots_mal = QStringLiteral("1");
    d.r_accio = QStringLiteral("4");
    d.r_estimul = QStringLiteral("0");
    d.r_be = QStringLiteral("2");
    d.r_mal = QStringLiteral("3");
    d.mode = QStringLiteral("1");
    d.imatge_fons = QStringLiteral("fons.jpg");
    d.so_fons = QStringLiteral("fons.wav");
    d.tots_temps = QStringLiteral("0");
    // Saved on 1024 x 768; 2, 6, 10 and 14 scaled by 1.25 fall on halves.
    d.zones = {
        {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("1024"), QStringLiteral("768"), QString()},
        {QStringLiteral("2"), QStringLiteral("6"), QStringLiteral("10"), QStringLiteral("14"),
         QStringLiteral("z1.gif")},
        {QStringLiteral("100"), QStringLiteral("200"), QStringLiteral("300"), QStringLiteral("400"),
         QString()}};
    d.seguent = v == Versio::v5 ? QStringLiteral(" 1") : QStringLiteral("seg.lrq");
    return d;
}

Activitat esperat(Versio v) {
    Activitat e = activitat_nova();
    const bool nou = v >= Versio::v4;
    e.nombre_items = 2;
    e.items.assign(3, item{});
    item& a = e.items[1];
    item& b = e.items[2];
    const int teclat = v == Versio::v1 ? 4 : v == Versio::v2 ? 10 : 11;
    for (int k = 0; k < teclat; ++k)
        a.teclat[k] = k % 2 == 0 ? 1 : 0;
    if (v >= Versio::v4_2) {
        a.jostick[0] = a.jostick[7] = 1;
        a.veu[3] = 1;
        b.veu[2] = 1;
    }
    if (v >= Versio::v5) a.nivell = {1, 10, 50};
    if (v >= Versio::v7) a.web[3] = 1;
    a.ratoli = {1, 0, 1, static_cast<int16_t>(v >= Versio::v5 ? 1 : 0)};
    if (v >= Versio::v5) a.zones_ratoli = QStringLiteral("Z01Z02");
    if (v >= Versio::v7) a.zones_web = QStringLiteral("W01");
    a.retard_be = 2.5f;
    b.retard_be = 1.0f;
    if (v >= Versio::v7) a.retard_mal = 1.5f;
    if (v >= Versio::v2) {
        a.retard_accio = 5.0f;
        a.retard_estimul = 0.5f;
    }
    a.si_be = nou ? L("2»/act/a.bmp»COR_255|/act/c.gif") : L("2»/act/a.bmp»/act/b.wav|/act/c.gif");
    if (v >= Versio::v3) a.si_mal = nou ? L("1»ESPERAR_2»/act/d.wav") : L("1»/act/d.wav");
    if (v >= Versio::v2) a.estimuls = nou ? L("1»CENTRADO_hola»/act/e.jpg") : L("1»/act/e.jpg»/act/f.wav");
    if (v >= Versio::v5) {
        a.tecles_llista = QStringLiteral("H39H1E") + so_nivell();
        a.serie = QStringLiteral("H3BH3C");
    } else {
        a.tecles_llista = QStringLiteral("H39H1EH48");
        if (v >= Versio::v3) a.serie = QStringLiteral("H3B");
    }
    b.tecles_llista = QStringLiteral("H22H18H1FH48");

    if (v >= Versio::v3) {
        e.color_fons = 255;
        e.font.nom = QStringLiteral("Verdana");
        e.font.mida = 18;
        e.font.negreta = 0;
        e.font.cursiva = -1;
        if (v >= Versio::v4) e.font.color = 16711680;
        e.finestra_opcio = 2;
        if (v <= Versio::v4_1) {
            // Old word lists: "gos" is in item 2's keys.
            e.paraules_veu[0] = QStringLiteral("1,2");
            b.veu[2] = 1;
        } else {
            e.paraules_veu[0] = QStringLiteral("1,2,");
        }
        e.carpeta_veu = v == Versio::v3 ? QStringLiteral("veus") : QStringLiteral("/act/veus");
        e.reserva_llarg = 7;
        e.reserva_enter = 3;
    }
    if (v >= Versio::v4) e.decimes_veu = 4;
    if (v >= Versio::v4_1) {
        e.consigna = L("CENTRADO_hola»/act/a.bmp");
        e.temps_total = 60;
    }
    if (v >= Versio::v5) {
        e.tots_estimul_global = 1;
        e.tots_be_global = 0;
        e.tots_mal_global = 1;
        e.fitxer_imatge_fons = QStringLiteral("/act/fons.jpg");
    }
    if (v >= Versio::v6_1) {
        e.retard_tots_accio = 4;
        e.retard_tots_estimul = 0;
        e.retard_tots_be = 2;
        e.mode_estimul = QStringLiteral("1");
    }
    if (v >= Versio::v7) e.retard_tots_mal = 3;
    if (v >= Versio::v6) {
        e.fitxer_so_fons = QStringLiteral("/act/fons.wav");
        e.tots_temps_global = 0;
    } else {
        e.tots_temps_global = 1;
    }
    if (v >= Versio::v5) {
        e.zones_max = 2;
        e.zones.assign(3, zona{});
        e.zones[0] = zona{0, 0, 1280, 960, QString()};
        e.zones[1] = zona{2, 8, 12, 18, v == Versio::v7_1 ? QStringLiteral("/act/z1.gif") : QString()};
        e.zones[2] = zona{125, 250, 375, 500, QString()};
        e.exercici_seguent = v == Versio::v5 ? QStringLiteral(" 1") : QStringLiteral("/act/seg.lrq");
    }
    return e;
}

// The current file of an activity in memory, by the test's own rules:
// references back to bare names, Galician keywords back to Catalan.
Desat desat_actual(const Activitat& e) {
    auto rel = [](QString s) { return s.replace(QStringLiteral("/act/"), QString()); };
    auto cat = [&](QString s) {
        s = rel(s);
        s.replace(QStringLiteral("COR_"), QStringLiteral("COLOR_"));
        s.replace(QStringLiteral("CENTRADO_"), QStringLiteral("CENTRAT_"));
        s.replace(QStringLiteral("ESPERAR_"), QStringLiteral("ESPERA_"));
        return s;
    };
    auto num = [](auto v) { return QString::number(v); };
    Desat d;
    for (int i = 1; i <= e.nombre_items; ++i) {
        const item& it = e.items[i];
        ItemDesat s;
        for (int k = 0; k < 11; ++k)
            s.teclat[k] = num(it.teclat[k]);
        for (int k = 0; k < 8; ++k)
            s.jostick[k] = num(it.jostick[k]);
        for (int k = 0; k < 15; ++k)
            s.veu[k] = num(it.veu[k]);
        for (int k = 0; k < 3; ++k)
            s.nivell[k] = num(it.nivell[k]);
        for (int k = 0; k < 12; ++k)
            s.web[k] = num(it.web[k]);
        for (int k = 0; k < 4; ++k)
            s.ratoli[k] = num(it.ratoli[k]);
        s.zones_ratoli = it.zones_ratoli;
        s.zones_web = it.zones_web;
        s.retard_be = num(it.retard_be);
        s.retard_mal = num(it.retard_mal);
        s.si_be = cat(it.si_be);
        s.si_mal = cat(it.si_mal);
        s.tecles = it.tecles_llista;
        s.serie = it.serie;
        s.retard_accio = num(it.retard_accio);
        s.retard_estimul = it.retard_estimul == 0.5f ? QStringLiteral(".5") : num(it.retard_estimul);
        s.estimuls = cat(it.estimuls);
        d.items.push_back(s);
    }
    d.color_fons = num(e.color_fons);
    d.font_nom = e.font.nom;
    d.mida = num(e.font.mida);
    d.negreta = num(e.font.negreta);
    d.cursiva = num(e.font.cursiva);
    d.font_color = num(e.font.color);
    d.finestra_opcio = num(e.finestra_opcio);
    d.paraules = QString(e.paraules_veu[0]).replace(u',', u'^');
    d.carpeta_veu = rel(e.carpeta_veu);
    d.reserva_llarg = num(e.reserva_llarg);
    d.reserva_enter = num(e.reserva_enter);
    d.decimes = num(e.decimes_veu);
    d.consigna = cat(e.consigna);
    d.temps_total = num(e.temps_total);
    d.tots_estimul = num(e.tots_estimul_global);
    d.tots_be = num(e.tots_be_global);
    d.tots_mal = num(e.tots_mal_global);
    d.r_accio = num(e.retard_tots_accio);
    d.r_estimul = num(e.retard_tots_estimul);
    d.r_be = num(e.retard_tots_be);
    d.r_mal = num(e.retard_tots_mal);
    d.mode = e.mode_estimul;
    d.imatge_fons = rel(e.fitxer_imatge_fons);
    d.so_fons = rel(e.fitxer_so_fons);
    d.tots_temps = num(e.tots_temps_global);
    for (int j = 0; j <= e.zones_max; ++j) {
        const zona& z = e.zones[j];
        d.zones.push_back({num(z.esquerra), num(z.dalt), num(z.dreta), num(z.baix), rel(z.imatge)});
    }
    d.seguent = rel(e.exercici_seguent);
    return d;
}

void comparar(const Activitat& r, const Activitat& e) {
    ASSERT_EQ(r.nombre_items, e.nombre_items);
    ASSERT_EQ(r.items.size(), e.items.size());
    for (size_t i = 0; i < e.items.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "item " << i);
        const item& x = r.items[i];
        const item& y = e.items[i];
        EXPECT_EQ(x.teclat, y.teclat);
        EXPECT_EQ(x.jostick, y.jostick);
        EXPECT_EQ(x.veu, y.veu);
        EXPECT_EQ(x.nivell, y.nivell);
        EXPECT_EQ(x.web, y.web);
        EXPECT_EQ(x.ratoli, y.ratoli);
        EXPECT_EQ(x.zones_ratoli, y.zones_ratoli);
        EXPECT_EQ(x.zones_web, y.zones_web);
        EXPECT_EQ(x.retard_be, y.retard_be);
        EXPECT_EQ(x.retard_mal, y.retard_mal);
        EXPECT_EQ(x.si_be, y.si_be);
        EXPECT_EQ(x.si_mal, y.si_mal);
        EXPECT_EQ(x.tecles_llista, y.tecles_llista);
        EXPECT_EQ(x.serie, y.serie);
        EXPECT_EQ(x.retard_accio, y.retard_accio);
        EXPECT_EQ(x.retard_estimul, y.retard_estimul);
        EXPECT_EQ(x.estimuls, y.estimuls);
    }
    EXPECT_EQ(r.color_fons, e.color_fons);
    EXPECT_EQ(r.font, e.font);
    EXPECT_EQ(r.finestra_opcio, e.finestra_opcio);
    EXPECT_EQ(r.paraules_veu[0], e.paraules_veu[0]);
    EXPECT_EQ(r.carpeta_veu, e.carpeta_veu);
    EXPECT_EQ(r.reserva_llarg, e.reserva_llarg);
    EXPECT_EQ(r.reserva_enter, e.reserva_enter);
    EXPECT_EQ(r.decimes_veu, e.decimes_veu);
    EXPECT_EQ(r.consigna, e.consigna);
    EXPECT_EQ(r.temps_total, e.temps_total);
    EXPECT_EQ(r.tots_estimul_global, e.tots_estimul_global);
    EXPECT_EQ(r.tots_be_global, e.tots_be_global);
    EXPECT_EQ(r.tots_mal_global, e.tots_mal_global);
    EXPECT_EQ(r.tots_temps_global, e.tots_temps_global);
    EXPECT_EQ(r.retard_tots_accio, e.retard_tots_accio);
    EXPECT_EQ(r.retard_tots_estimul, e.retard_tots_estimul);
    EXPECT_EQ(r.retard_tots_be, e.retard_tots_be);
    EXPECT_EQ(r.retard_tots_mal, e.retard_tots_mal);
    EXPECT_EQ(r.mode_estimul, e.mode_estimul);
    EXPECT_EQ(r.fitxer_imatge_fons, e.fitxer_imatge_fons);
    EXPECT_EQ(r.fitxer_so_fons, e.fitxer_so_fons);
    EXPECT_EQ(r.zones_max, e.zones_max);
    EXPECT_EQ(r.zones, e.zones);
    EXPECT_EQ(r.exercici_seguent, e.exercici_seguent);
}

struct FitxerLrq : ::testing::Test {
    QString idioma_abans;
    QString carpeta_abans;
    void SetUp() override {
        idioma_abans = idioma();
        carpeta_abans = carpeta_activitat();
        idioma() = IDIOMA_CATALA;
    }
    void TearDown() override {
        idioma() = idioma_abans;
        carpeta_activitat() = carpeta_abans;
    }
};

} // namespace

// Every version the program ever wrote loads to the same activity, with the
// conversions of its time, and saves back as the current version.
class VersionsAntigues : public FitxerLrq, public ::testing::WithParamInterface<Versio> {};

TEST_P(VersionsAntigues, LoadsWithItsConversionsAndSavesAsTheCurrentVersion) {
    const Versio v = GetParam();
    ASSERT_NE(tradueix_en(GAL, QStringLiteral("{Cur.Amunt}")), QStringLiteral("{Cur.Amunt}"));
    const QByteArray antic = escriure_versio(v, desat_antic(v));
    ResultatLectura r = llegir_activitat(antic, QStringLiteral("/act/a.lrq"), activitat_nova(), opcions(GAL));
    EXPECT_EQ(r.missatge, 0) << qPrintable(r.text_missatge);
    EXPECT_EQ(r.capcalera, capcalera_versio(v));
    comparar(r.activitat, esperat(v));
    // Item 1 reacts to the sound level from version 5 on (its level flag and an "S" code).
    EXPECT_EQ(r.usa_nivell_so, v >= Versio::v5);
    // The pure reader leaves the program's language and folder alone.
    EXPECT_EQ(idioma(), IDIOMA_CATALA);

    const QByteArray nou = escriure_activitat(r.activitat, GAL, CARPETA);
    EXPECT_EQ(str(nou), str(escriure_versio(Versio::v7_1, desat_actual(esperat(v)))));
    EXPECT_TRUE(nou.startsWith("\"LUMIRAGA7.1\"\r\n2\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Onze, VersionsAntigues,
                         ::testing::Values(Versio::v1, Versio::v2, Versio::v3, Versio::v4, Versio::v4_1,
                                           Versio::v4_2, Versio::v5, Versio::v6, Versio::v6_1, Versio::v7,
                                           Versio::v7_1),
                         [](const auto& info) {
                             QString s = capcalera_versio(info.param).mid(8);
                             s.replace(u'.', u'_');
                             return "v" + s.toStdString();
                         });

// Reading and writing take the language and the folder they are given and
// never put them in the program's place, even for a moment: the program's own
// are the same at every allocation the reader and the writer make (the reader
// allocates at every value), so a load can run inside anything.
TEST_F(FitxerLrq, ReadingAndWritingLeaveTheProgramsLanguageAndFolderAloneThroughout) {
    if (!proves::VigiaAssignacions::disponible()) GTEST_SKIP() << "allocations cannot be watched here";
    // Neither the language read in nor Catalan, which old key names fall back to.
    const QString idioma_programa = IDIOMA_ESPANOL;
    const QString carpeta_programa = QStringLiteral("/una/altra");
    idioma() = idioma_programa;
    carpeta_activitat() = carpeta_programa;
    const Activitat base = activitat_nova();
    QString vist;
    long canvis = 0;
    std::vector<std::pair<ResultatLectura, QByteArray>> fets;
    const Versio versions[] = {Versio::v3, Versio::v4_2, Versio::v7_1, Versio::v4_2};
    std::vector<QByteArray> antics;
    for (Versio v : versions)
        antics.push_back(escriure_versio(v, desat_antic(v)));
    // A key name no table knows is looked up in Catalan once more.
    Desat desconegut = desat_antic(Versio::v4_2);
    desconegut.items[0].serie = QStringLiteral("{Desconeguda}");
    antics.back() = escriure_versio(Versio::v4_2, desconegut);
    long vegades = 0;
    {
        proves::VigiaAssignacions vigia([&] {
            if (idioma() == idioma_programa && carpeta_activitat() == carpeta_programa) return;
            if (canvis++ == 0) vist = idioma() + QStringLiteral(" / ") + carpeta_activitat();
        });
        for (const QByteArray& antic : antics) {
            ResultatLectura r = llegir_activitat(antic, QStringLiteral("/act/a.lrq"), base, opcions(GAL));
            QByteArray nou = escriure_activitat(r.activitat, GAL, CARPETA);
            fets.emplace_back(std::move(r), std::move(nou));
        }
        vegades = vigia.vegades();
    }
    EXPECT_GT(vegades, 100) << "the watch saw the work";
    EXPECT_EQ(canvis, 0) << "seen in the middle of the work: " << qPrintable(vist);
    // And the work was done in the language and the folder given.
    for (size_t i = 0; i < fets.size(); ++i) {
        SCOPED_TRACE(capcalera_versio(versions[i]).toStdString());
        EXPECT_EQ(fets[i].first.missatge, 0);
        Activitat e = esperat(versions[i]);
        if (i + 1 == fets.size()) e.items[1].serie = QStringLiteral("H00");
        comparar(fets[i].first.activitat, e);
        EXPECT_EQ(str(fets[i].second), str(escriure_versio(Versio::v7_1, desat_actual(e))));
    }
}

TEST_F(FitxerLrq, CurrentVersionSurvivesLoadAndSaveByteForByte) {
    const QByteArray fitxer = escriure_versio(Versio::v7_1, desat_antic(Versio::v7_1));
    ResultatLectura r =
        llegir_activitat(fitxer, QStringLiteral("/act/a.lrq"), activitat_nova(QRect(0, 0, 1024, 768)),
                         opcions(IDIOMA_CATALA, QRect(0, 0, 1024, 768)));
    ASSERT_EQ(r.missatge, 0);
    EXPECT_EQ(r.activitat.items[1].si_be, L("2»/act/a.bmp»COLOR_255|/act/c.gif"));
    EXPECT_EQ(str(escriure_activitat(r.activitat, IDIOMA_CATALA, CARPETA)), str(fitxer));
}

// The activity the file benchmarks time, through both directions and two
// interface languages: what is read is what was written, and writing it
// again gives the same bytes.
TEST_F(FitxerLrq, ALargeActivityComesBackByteForByte) {
    const Activitat a = proves::activitat_gran(1000, CARPETA);
    const QByteArray f = escriure_activitat(a, IDIOMA_CATALA, CARPETA);
    EXPECT_FALSE(f.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(f.contains("\r\n\"2\xBBgat7.bmp\xBB"
                           "CENTRAT_Gat n\xFAmero 7|gos.jpg:P50\"\r\n"));
    EXPECT_TRUE(f.contains("\r\n1.5\r\n1\r\n\"1\xBB"
                           "bravo.wav\xBB"
                           "COLOR_65280\"\r\n"));
    ResultatLectura r = llegir_activitat(f, CARPETA + QStringLiteral("/a.lrq"), Activitat{}, opcions());
    ASSERT_EQ(r.missatge, 0) << qPrintable(r.text_missatge);
    EXPECT_FALSE(r.utf8);
    EXPECT_EQ(r.activitat.nombre_items, 1000);
    for (int i : {1, 7, 1000}) {
        const item& it = r.activitat.items[i];
        EXPECT_EQ(it.teclat, a.items[i].teclat);
        EXPECT_EQ(it.ratoli, a.items[i].ratoli);
        EXPECT_EQ(it.tecles_llista, a.items[i].tecles_llista);
        EXPECT_EQ(it.si_be, a.items[i].si_be);
        EXPECT_EQ(it.retard_be, 1.5f);
        // A reference with options stays as stored.
        QString estimuls = a.items[i].estimuls;
        EXPECT_EQ(it.estimuls, estimuls.replace(CARPETA + QStringLiteral("/gos"), QStringLiteral("gos")));
    }
    EXPECT_EQ(r.activitat.font, a.font);
    EXPECT_EQ(r.activitat.zones, a.zones);
    EXPECT_EQ(r.activitat.mode_estimul, a.mode_estimul);
    EXPECT_EQ(str(escriure_activitat(r.activitat, IDIOMA_CATALA, CARPETA)), str(f));

    // Keywords are stored in Catalan and shown in the interface language.
    r = llegir_activitat(f, CARPETA + QStringLiteral("/a.lrq"), Activitat{}, opcions(GAL));
    ASSERT_EQ(r.missatge, 0);
    const QString centrat = tradueix_paraules_clau_en(GAL, QStringLiteral("CENTRAT_"), 1);
    EXPECT_NE(centrat, QStringLiteral("CENTRAT_"));
    EXPECT_TRUE(r.activitat.items[7].estimuls.contains(centrat));
    EXPECT_FALSE(r.activitat.items[7].estimuls.contains(QStringLiteral("CENTRAT_")));
    EXPECT_EQ(str(escriure_activitat(r.activitat, GAL, CARPETA)), str(f));
}

TEST_F(FitxerLrq, NewActivityWrites98ValuesInTheCurrentForm) {
    Activitat a = activitat_nova();
    a.paraules_veu[0] = QStringLiteral("1,3,A,");
    const QByteArray f = escriure_activitat(a, IDIOMA_CATALA, CARPETA);
    const auto v = valors_fitxer(f);
    ASSERT_EQ(v.size(), 98u);
    EXPECT_TRUE(f.startsWith("\"LUMIRAGA7.1\"\r\n1\r\n"));
    EXPECT_TRUE(f.endsWith("\"\"\r\n"));
    EXPECT_EQ(f.count("\r\n"), 98);
    EXPECT_EQ(f.count('\n'), 98); // no bare line feeds
    // Item values 2 + 53: retard_be 1, retard_mal 1, then retard_accio 5.
    EXPECT_EQ(valor(v, 57), "1");
    EXPECT_EQ(valor(v, 58), "1");
    EXPECT_EQ(valor(v, 63), "5");
    EXPECT_EQ(valor(v, 64), "0");
    // Settings: word list with "^", yellow Arial 24 bold.
    EXPECT_EQ(valor(v, 67), "Arial");
    EXPECT_EQ(valor(v, 68), "24");
    EXPECT_EQ(valor(v, 69), "-1");
    EXPECT_EQ(valor(v, 71), "65535");
    EXPECT_EQ(valor(v, 73), "1^3^A^");
    // Zone 0 is this machine's desktop.
    EXPECT_EQ(valor(v, 91), "0");
    EXPECT_EQ(valor(v, 94), "1280");
    EXPECT_EQ(valor(v, 95), "960");
}

TEST_F(FitxerLrq, NumbersUseAPointWhateverTheLocale) {
    const char* abans = std::setlocale(LC_ALL, nullptr);
    const std::string guardat = abans ? abans : "C";
    const QLocale qabans;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    for (const char* nom : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ca_ES.UTF-8"})
        if (std::setlocale(LC_ALL, nom)) break;

    Activitat a = activitat_nova();
    a.items[1].retard_be = 2.5f;
    a.items[1].retard_estimul = 0.25f;
    a.retard_tots_accio = 1234.5f;
    const QByteArray f = escriure_activitat(a, IDIOMA_CATALA, CARPETA);
    const auto v = valors_fitxer(f);
    EXPECT_EQ(valor(v, 57), "2.5");
    EXPECT_EQ(valor(v, 64), ".25");
    EXPECT_EQ(valor(v, 83), "1234.5");
    ResultatLectura r = llegir_activitat(f, QStringLiteral("/act/a.lrq"), activitat_nova(), opcions());

    std::setlocale(LC_ALL, guardat.c_str());
    QLocale::setDefault(qabans);
    EXPECT_EQ(r.missatge, 0);
    EXPECT_EQ(r.activitat.items[1].retard_be, 2.5f);
    EXPECT_EQ(r.activitat.items[1].retard_estimul, 0.25f);
    EXPECT_EQ(r.activitat.retard_tots_accio, 1234.5f);
}

TEST_F(FitxerLrq, ADoubleQuoteInATextIsWrittenAsASingleQuote) {
    Activitat a = activitat_nova();
    a.consigna = QStringLiteral("CENTRAT_diu \"hola\", adéu");
    a.font.nom = QStringLiteral("Font \"x\"");
    a.nombre_items = 2;
    a.items.resize(3);
    a.items[2].retard_be = 3;
    const QByteArray f = escriure_activitat(a, IDIOMA_CATALA, CARPETA);
    EXPECT_EQ(valors_fitxer(f).size(), 98u + 64u);
    ResultatLectura r = llegir_activitat(f, QStringLiteral("/act/a.lrq"), activitat_nova(), opcions());
    EXPECT_EQ(r.missatge, 0);
    EXPECT_EQ(r.activitat.consigna, QStringLiteral("CENTRAT_diu 'hola', adéu"));
    EXPECT_EQ(r.activitat.font.nom, QStringLiteral("Font 'x'"));
    EXPECT_EQ(r.activitat.items[2].retard_be, 3.0f);
    EXPECT_EQ(r.activitat.zones[0].dreta, 1280);
}

// Every byte a sound-level code can hold comes back unchanged, including
// pairs that happen to form valid UTF-8 (C3 A9 reads as "é" in UTF-8).
TEST_F(FitxerLrq, SoundLevelCodesSurviveByteForByte) {
    QByteArray codis;
    for (int a = 126; a <= 254; ++a) {
        codis += 'S';
        codis += static_cast<char>(a);
        codis += static_cast<char>(a == 254 ? 126 : a + 1);
    }
    for (const QByteArray& parell : {QByteArray("S\xC3\xA9"), QByteArray("S\xE2\x82\xAC"),
                                     QByteArray("S\xC2\xA0"), QByteArray("S\xC3\xA9H39S\xC3\xA9")}) {
        for (const QByteArray& serie : {parell, codis}) {
            Desat d = desat_antic(Versio::v7_1);
            d.items[0].tecles = QStringLiteral("TECLES");
            d.items[0].serie = QStringLiteral("SERIE");
            QByteArray f = escriure_versio(Versio::v7_1, d);
            f.replace("\"TECLES\"", "\"" + serie + "\"");
            f.replace("\"SERIE\"", "\"" + parell + "\"");
            ResultatLectura r =
                llegir_activitat(f, QStringLiteral("/act/a.lrq"), activitat_nova(QRect(0, 0, 1024, 768)),
                                 opcions(IDIOMA_CATALA, QRect(0, 0, 1024, 768)));
            ASSERT_EQ(r.missatge, 0);
            EXPECT_FALSE(r.utf8);
            EXPECT_TRUE(r.usa_nivell_so);
            EXPECT_EQ(r.activitat.items[1].tecles_llista.size(), serie.size());
            EXPECT_EQ(str(escriure_activitat(r.activitat, IDIOMA_CATALA, CARPETA)), str(f));
        }
    }
}

// A sound-level code in a key list or a series makes the activity listen to
// the sound level even when no item's level flag is set.
TEST_F(FitxerLrq, ASoundLevelCodeInAnyListTurnsTheSoundLevelOn) {
    auto llegeix = [](const QString& tecles, const QString& serie) {
        Desat d = desat_antic(Versio::v7_1);
        d.items[0].nivell[0] = QStringLiteral("0");
        d.items[0].tecles = tecles;
        d.items[0].serie = serie;
        ResultatLectura r = llegir_activitat(escriure_versio(Versio::v7_1, d), QStringLiteral("/act/a.lrq"),
                                             activitat_nova(), opcions());
        EXPECT_EQ(r.missatge, 0);
        return r.usa_nivell_so;
    };
    EXPECT_FALSE(llegeix(QStringLiteral("H39H1E"), QStringLiteral("H3BH3C")));
    EXPECT_TRUE(llegeix(QStringLiteral("H39") + so_nivell(), QStringLiteral("H3BH3C")));
    EXPECT_TRUE(llegeix(QStringLiteral("H39H1E"), so_nivell() + QStringLiteral("H3C")));
}

TEST_F(FitxerLrq, TextsChooseTheirEncoding) {
    // Windows-1252 when every character fits; a UTF-8 file with a BOM otherwise.
    Activitat a = activitat_nova();
    a.consigna = QStringLiteral("TEXT_Què és això? €");
    a.items[1].tecles_llista = so_nivell();
    QByteArray f = escriure_activitat(a, IDIOMA_CATALA, CARPETA);
    EXPECT_FALSE(f.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(f.contains("Qu\xE8 \xE9s aix\xF2? \x80"));
    EXPECT_TRUE(f.contains("\"S\x88\xB0\""));
    a.consigna = QStringLiteral("TEXT_Ŀ i ł: ελληνικά");
    f = escriure_activitat(a, IDIOMA_CATALA, CARPETA);
    EXPECT_TRUE(f.startsWith("\xEF\xBB\xBF\"LUMIRAGA7.1\""));
    ResultatLectura r = llegir_activitat(f, QStringLiteral("/act/a.lrq"), activitat_nova(), opcions());
    EXPECT_TRUE(r.utf8);
    EXPECT_EQ(r.activitat.consigna, a.consigna);
    EXPECT_EQ(r.activitat.items[1].tecles_llista, so_nivell());
    EXPECT_EQ(str(escriure_activitat(r.activitat, IDIOMA_CATALA, CARPETA)), str(f));

    // A file typed elsewhere in UTF-8 without a BOM: its texts are UTF-8, its
    // sound codes still raw bytes.
    Desat d = desat_antic(Versio::v7_1);
    d.font_nom = QStringLiteral("FONT");
    d.items[0].tecles = QStringLiteral("TECLES");
    QByteArray g = escriure_versio(Versio::v7_1, d);
    g.replace("\xBB", "\xC2\xBB");
    g.replace("\"FONT\"", "\"Lletra \xC3\xA0\"");
    g.replace("\"TECLES\"", "\"S\xC3\xA9\"");
    r = llegir_activitat(g, QStringLiteral("/act/a.lrq"), activitat_nova(), opcions());
    EXPECT_EQ(r.missatge, 0);
    EXPECT_EQ(r.activitat.font.nom, QStringLiteral("Lletra à"));
    EXPECT_TRUE(r.utf8);
    EXPECT_EQ(r.activitat.items[1].tecles_llista, QStringLiteral("SÃ©"));
    EXPECT_EQ(r.activitat.items[1].si_be, L("2»/act/a.bmp»COLOR_255|/act/c.gif"));
}

TEST_F(FitxerLrq, Windows1252TextsThatLookLikeUtf8SurviveLoadAndSave) {
    // "Ã©" and "Â»" are C3 A9 and C2 BB in Windows-1252: valid UTF-8 that a
    // file without a BOM would be read as.
    Activitat a = activitat_nova();
    a.font.nom = QStringLiteral("Ã© Â©");
    a.consigna = QStringLiteral("TEXT_MÃ©s");
    a.items[1].tecles_llista = so_nivell();
    const QByteArray f = escriure_activitat(a, IDIOMA_CATALA, CARPETA);
    ResultatLectura r = llegir_activitat(f, QStringLiteral("/act/a.lrq"), activitat_nova(), opcions());
    ASSERT_EQ(r.missatge, 0);
    EXPECT_EQ(r.activitat.font.nom, a.font.nom);
    EXPECT_EQ(r.activitat.consigna, a.consigna);
    EXPECT_EQ(r.activitat.items[1].tecles_llista, so_nivell());
    EXPECT_EQ(str(escriure_activitat(r.activitat, IDIOMA_CATALA, CARPETA)), str(f));
    // Plain accented texts stay in Windows-1252.
    a.font.nom = QStringLiteral("Què");
    a.consigna = QStringLiteral("TEXT_Més");
    EXPECT_FALSE(escriure_activitat(a, IDIOMA_CATALA, CARPETA).startsWith("\xEF\xBB\xBF"));
}

TEST_F(FitxerLrq, HeadersThatCannotBeReadAreRefused) {
    struct Cas {
        QByteArray dades;
        int missatge;
    };
    const Cas casos[] = {
        {"\"QUALSEVOL\"\r\n1\r\n", 45},    {"", 45},
        {"\"LUMIRAGA8\"\r\n1\r\n", 46},    {"\"LUMIRAGA7.2\"\r\n1\r\n", 46},
        {"\"LUMIRAGA0\"\r\n1\r\n", 45},    {"\"LUMIRAGA4_3\"\r\n1\r\n", 45},
        {"\"xLUMIRAGA7.1\"\r\n1\r\n", 45},
    };
    Activitat base = activitat_nova();
    base.consigna = QStringLiteral("abans");
    for (const Cas& c : casos) {
        SCOPED_TRACE(c.dades.constData());
        ResultatLectura r = llegir_activitat(c.dades, QStringLiteral("/act/x.lrq"), base, opcions());
        EXPECT_EQ(r.missatge, c.missatge);
        EXPECT_EQ(r.text_missatge,
                  text_idioma_en(IDIOMA_CATALA, c.missatge) + QChar(13) + QStringLiteral("/act/x.lrq"));
        EXPECT_EQ(r.activitat.nombre_items, 1);
        EXPECT_EQ(r.activitat.consigna, QStringLiteral("abans"));
    }
}

TEST_F(FitxerLrq, DamagedFilesLoadWhatTheyHoldAndSaySo) {
    const QByteArray complet = escriure_versio(Versio::v7_1, desat_antic(Versio::v7_1));
    const auto valors = valors_fitxer(complet);
    Activitat base = activitat_nova();
    base.consigna = QStringLiteral("abans");

    // Cut after the items (2 + 2 x 64 values): items read, settings kept.
    qsizetype pos = 0;
    for (int k = 0; k < 2 + 2 * 64; ++k)
        pos = complet.indexOf("\r\n", pos) + 2;
    ResultatLectura r = llegir_activitat(complet.left(pos), QStringLiteral("/act/a.lrq"), base, opcions());
    EXPECT_EQ(r.missatge, 45);
    EXPECT_EQ(r.activitat.nombre_items, 2);
    EXPECT_EQ(r.activitat.items[1].retard_be, 2.5f);
    EXPECT_EQ(r.activitat.consigna, QStringLiteral("abans"));
    EXPECT_EQ(r.activitat.font.nom, QStringLiteral("Arial"));

    // Cut at every point: never more than a refusal, and the full file is fine.
    // (The last value's closing quote is 3 bytes from the end.)
    for (qsizetype n = 0; n <= complet.size() - 3; n += 7) {
        ResultatLectura t = llegir_activitat(complet.left(n), QStringLiteral("/act/a.lrq"), base, opcions());
        EXPECT_NE(t.missatge, 0) << n;
    }
    EXPECT_EQ(llegir_activitat(complet, QStringLiteral("/act/a.lrq"), base, opcions()).missatge, 0);

    // A value that does not convert: that value stays, the rest loads.
    QByteArray malmes = complet;
    malmes.replace("\"Verdana\"\r\n18\r\n", "\"Verdana\"\r\ndivuit\r\n");
    r = llegir_activitat(malmes, QStringLiteral("/act/a.lrq"), base, opcions());
    EXPECT_EQ(r.missatge, 45);
    EXPECT_EQ(r.activitat.font.mida, 24);
    EXPECT_EQ(r.activitat.font.nom, QStringLiteral("Verdana"));
    EXPECT_EQ(r.activitat.temps_total, 60);
    EXPECT_EQ(r.activitat.exercici_seguent, QStringLiteral("/act/seg.lrq"));

    // A 16-bit value out of range.
    malmes = complet;
    malmes.replace("\"Verdana\"\r\n18\r\n", "\"Verdana\"\r\n40000\r\n");
    r = llegir_activitat(malmes, QStringLiteral("/act/a.lrq"), base, opcions());
    EXPECT_EQ(r.missatge, 45);
    EXPECT_EQ(r.activitat.font.mida, 24);

    // A saved desktop of width 0 cannot scale zones.
    malmes = complet;
    malmes.replace("\r\n0\r\n0\r\n1024\r\n768\r\n", "\r\n0\r\n0\r\n0\r\n768\r\n");
    r = llegir_activitat(malmes, QStringLiteral("/act/a.lrq"), base, opcions());
    EXPECT_EQ(r.missatge, 45);
    EXPECT_EQ(r.activitat.zones[1].esquerra, 0);
    EXPECT_EQ(r.activitat.zones[1].dalt, 8);
}

TEST_F(FitxerLrq, CountsOutOfRangeRefuseTheFileWithoutAHugeAllocation) {
    Activitat base = activitat_nova();
    for (const char* n : {"-1", "32768", "99999999999", "tres", "1e9"}) {
        SCOPED_TRACE(n);
        const QByteArray f = QByteArray("\"LUMIRAGA7.1\"\r\n") + n + "\r\n0\r\n";
        ResultatLectura r = llegir_activitat(f, QStringLiteral("/act/a.lrq"), base, opcions());
        EXPECT_EQ(r.missatge, 45);
        EXPECT_EQ(r.activitat.nombre_items, 1);
        EXPECT_EQ(r.activitat.items.size(), 2u);
    }
    // A zone count out of range: the items stay loaded, no zone is made.
    QByteArray f = escriure_versio(Versio::v7_1, desat_antic(Versio::v7_1));
    f.replace("\r\n2\r\n0\r\n0\r\n1024\r\n", "\r\n-5\r\n0\r\n0\r\n1024\r\n");
    ResultatLectura r = llegir_activitat(f, QStringLiteral("/act/a.lrq"), base, opcions());
    EXPECT_EQ(r.missatge, 45);
    EXPECT_EQ(r.activitat.nombre_items, 2);
    EXPECT_EQ(r.activitat.zones.size(), 1u);

    // A list whose count cannot be right is read as an empty list.
    QStringList llista{QString()};
    EXPECT_EQ(dividir_llista(L("99999»a.bmp|b.bmp"), llista), 0);
    EXPECT_EQ(dividir_llista(L("-3»a.bmp"), llista), 0);
}

TEST_F(FitxerLrq, QuotedNumbersReadLikeUnquotedOnes) {
    QByteArray f = escriure_versio(Versio::v7_1, desat_antic(Versio::v7_1));
    f.replace("\r\n60\r\n", "\r\n\"60\"\r\n");                               // temps_total, read as text
    f.replace("\r\n\"Verdana\"\r\n18\r\n", "\r\n\"Verdana\"\r\n\"18\"\r\n"); // font size
    ResultatLectura r = llegir_activitat(f, QStringLiteral("/act/a.lrq"), activitat_nova(), opcions());
    EXPECT_EQ(r.missatge, 0);
    EXPECT_EQ(r.activitat.temps_total, 60);
    EXPECT_EQ(r.activitat.font.mida, 18);
}

// ---------------------------------------------------------------------------
// The procedures on the current activity.

namespace {
struct Procediments : FitxerLrq {
    QTemporaryDir dir;
    QString titol;
    QStringList avisos;
    QStringList carpetes_obertes;
    void SetUp() override {
        FitxerLrq::SetUp();
        ASSERT_TRUE(dir.isValid());
        titol_finestra() = [this](const QString& t) { titol = t; };
        avis_usuari() = [this](const QString& t) { avisos << t; };
        veu_obrir_paraules_carpeta() = nullptr;
        escriptori_actual() = [] { return QRect(0, 0, 1280, 960); };
        cami_desfer() = dir.filePath(QStringLiteral("desfer/lrq.tmp"));
        QDir(dir.path()).mkpath(QStringLiteral("desfer"));
        activitat() = activitat_nova();
        dispositius().nivell_so_actiu = 0;
    }
    void TearDown() override {
        titol_finestra() = nullptr;
        avis_usuari() = nullptr;
        veu_obrir_paraules_carpeta() = nullptr;
        escriptori_actual() = nullptr;
        cami_desfer().clear();
        activitat() = Activitat{};
        FitxerLrq::TearDown();
    }
    QString cami(const QString& nom) const { return dir.filePath(nom); }
    static QByteArray llegir(const QString& c) {
        QFile f(c);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(cap)");
    }
    static void escriure(const QString& c, const QByteArray& d) {
        QFile f(c);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(d);
    }
};
} // namespace

TEST_F(Procediments, SavingSetsCaptionAndNameButNotTheModifiedFlag) {
    Activitat& a = activitat();
    carpeta_activitat() = dir.path();
    a.exercici_modificat = CERT;
    a.fitxer_imatge_fons = dir.filePath(QStringLiteral("fons.jpg"));
    const QString f = cami(QStringLiteral("a.lrq"));
    ASSERT_TRUE(desar_exercici(f));
    EXPECT_EQ(titol, QStringLiteral("LUMIRAGA - ") + f);
    EXPECT_EQ(a.fitxer_actual, f);
    EXPECT_EQ(a.exercici_modificat, CERT);
    EXPECT_EQ(valor(valors_fitxer(llegir(f)), 88), "fons.jpg");

    // The snapshot changes neither.
    titol.clear();
    ASSERT_TRUE(desar_exercici(cami_desfer()));
    EXPECT_TRUE(titol.isEmpty());
    EXPECT_EQ(a.fitxer_actual, f);
    EXPECT_EQ(str(llegir(cami_desfer())), str(llegir(f)));
}

TEST_F(Procediments, AFailedSaveLeavesTheOldFileAndSaysSo) {
    const QString f = cami(QStringLiteral("vell.lrq"));
    escriure(f, "contingut vell");
    Activitat& a = activitat();
    a.fitxer_actual = QStringLiteral("/altre/x.lrq");
    a.exercici_modificat = CERT;

    // A folder that does not exist, and a file whose folder takes no new files.
    EXPECT_FALSE(desar_exercici(cami(QStringLiteral("no/hi/es/a.lrq"))));
    EXPECT_FALSE(desar_exercici(dir.path()));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool protegit =
        !QFile(cami(QStringLiteral("prova"))).open(QIODevice::WriteOnly); // root writes anywhere
    if (protegit) {
        EXPECT_FALSE(desar_exercici(f));
    }
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QFile::remove(cami(QStringLiteral("prova")));

    EXPECT_EQ(str(llegir(f)), "contingut vell");
    EXPECT_EQ(a.fitxer_actual, QStringLiteral("/altre/x.lrq"));
    EXPECT_EQ(a.exercici_modificat, CERT);
    EXPECT_TRUE(titol.isEmpty());
}

TEST_F(Procediments, LoadingAQuotedPathUsesItsFolder) {
    QDir(dir.path()).mkpath(QStringLiteral("sub"));
    const QString f = cami(QStringLiteral("sub/a.lrq"));
    Desat d = desat_antic(Versio::v7_1);
    escriure(f, escriure_versio(Versio::v7_1, d));
    activitat().exercici_modificat = CERT;
    carregar_exercici(u'"' + f + u'"');
    const Activitat& a = activitat();
    EXPECT_TRUE(avisos.isEmpty()) << qPrintable(avisos.join(u'\n'));
    EXPECT_EQ(a.fitxer_actual, f);
    EXPECT_EQ(a.exercici_modificat, FALS);
    EXPECT_EQ(carpeta_activitat(), dir.filePath(QStringLiteral("sub")));
    EXPECT_EQ(a.fitxer_imatge_fons, dir.filePath(QStringLiteral("sub/fons.jpg")));
    EXPECT_EQ(a.zones[1].dalt, 8); // 1024 x 768 to 1280 x 960
    EXPECT_EQ(dispositius().nivell_so_actiu, CERT);
    EXPECT_EQ(jugador().estat_carrega, 2);
}

TEST_F(Procediments, APathWithBackslashesOrAnotherCaseNamesTheRealFile) {
    QDir(dir.path()).mkpath(QStringLiteral("Sub"));
    const QString f = cami(QStringLiteral("Sub/Act.lrq"));
    escriure(f, escriure_versio(Versio::v7_1, desat_antic(Versio::v7_1)));
    const QString escrit = dir.path() + QStringLiteral("\\sub\\ACT.LRQ");
    carregar_exercici(escrit);
    Activitat& a = activitat();
    EXPECT_TRUE(avisos.isEmpty()) << qPrintable(avisos.join(u'\n'));
    EXPECT_EQ(a.fitxer_actual, f);
    EXPECT_EQ(carpeta_activitat(), cami(QStringLiteral("Sub")));
    EXPECT_EQ(a.fitxer_imatge_fons, cami(QStringLiteral("Sub/fons.jpg")));
    // Saving goes back to that file, not to a new one beside it.
    ASSERT_TRUE(desar_exercici(a.fitxer_actual));
    EXPECT_FALSE(QFileInfo::exists(escrit)); // no file named with backslashes beside the folder
    EXPECT_EQ(QDir(cami(QStringLiteral("Sub"))).entryList(QDir::Files),
              QStringList{QStringLiteral("Act.lrq")});
}

TEST_F(Procediments, AMissingFileIsToldMissingWithThePath) {
    const QString f = cami(QStringLiteral("no_hi_es.lrq"));
    activitat().exercici_modificat = CERT;
    carregar_exercici(f);
    ASSERT_EQ(avisos.size(), 1);
    EXPECT_EQ(avisos[0], tradueix(QStringLiteral("fitxers|no_existeix")) + QChar(13) + f);
    EXPECT_TRUE(activitat().fitxer_actual.isEmpty());
    EXPECT_EQ(activitat().exercici_modificat, CERT);

    escriure(f, "\"LUMIRAGA9\"\r\n");
    carregar_exercici(f);
    ASSERT_EQ(avisos.size(), 2);
    EXPECT_EQ(avisos[1], text_idioma(46) + QChar(13) + f);
}

TEST_F(Procediments, TheUndoSnapshotKeepsNameFlagAndFolder) {
    const QString f = cami(QStringLiteral("a.lrq"));
    carpeta_activitat() = dir.path();
    Activitat& a = activitat();
    a.items[1].estimuls = L("1»") + dir.filePath(QStringLiteral("gat.bmp"));
    a.fitxer_actual = f;
    ASSERT_TRUE(desar_exercici(cami_desfer()));
    a.items[1].estimuls.clear();
    a.exercici_modificat = CERT;

    carregar_exercici(cami_desfer());
    EXPECT_TRUE(avisos.isEmpty());
    EXPECT_EQ(a.items[1].estimuls, L("1»") + dir.filePath(QStringLiteral("gat.bmp")));
    EXPECT_EQ(a.fitxer_actual, f);
    EXPECT_EQ(a.exercici_modificat, CERT);
    EXPECT_EQ(carpeta_activitat(), dir.path());
}

TEST_F(Procediments, OnlyTheSnapshotItselfIsTakenForTheSnapshot) {
    const QString primer = cami(QStringLiteral("primer.lrq"));
    escriure(primer, escriure_versio(Versio::v7_1, desat_antic(Versio::v7_1)));
    carregar_exercici(primer);
    Activitat& a = activitat();
    a.exercici_modificat = CERT;

    // A folder whose name merely holds the snapshot's name.
    QDir(dir.path()).mkpath(QStringLiteral("mylrq.tmp.d"));
    const QString segon = cami(QStringLiteral("mylrq.tmp.d/act.lrq"));
    escriure(segon, escriure_versio(Versio::v7_1, desat_antic(Versio::v7_1)));
    carregar_exercici(segon);
    EXPECT_TRUE(avisos.isEmpty()) << qPrintable(avisos.join(u'\n'));
    EXPECT_EQ(a.fitxer_actual, segon);
    EXPECT_EQ(a.exercici_modificat, FALS);
    EXPECT_EQ(carpeta_activitat(), cami(QStringLiteral("mylrq.tmp.d")));
    EXPECT_EQ(a.fitxer_imatge_fons, cami(QStringLiteral("mylrq.tmp.d/fons.jpg")));

    // Saving to such a name is a save like any other.
    const QString copia = cami(QStringLiteral("copia_lrq.tmp"));
    ASSERT_TRUE(desar_exercici(copia));
    EXPECT_EQ(titol, QStringLiteral("LUMIRAGA - ") + copia);
    EXPECT_EQ(a.fitxer_actual, copia);
}

TEST_F(Procediments, AWordPatternFolderTheEngineCannotOpenStaysAsRead) {
    const QString f = cami(QStringLiteral("a.lrq"));
    escriure(f, escriure_versio(Versio::v7_1, desat_antic(Versio::v7_1)));
    // No engine: nothing is called, folder and word list as the file gave them.
    carregar_exercici(f);
    EXPECT_EQ(activitat().carpeta_veu, dir.filePath(QStringLiteral("veus")));
    EXPECT_EQ(activitat().paraules_veu[0], QStringLiteral("1,2,"));

    // An engine that fails after touching both: they are put back.
    veu_obrir_paraules_carpeta() = [this](const QString& c) {
        carpetes_obertes << c;
        activitat().carpeta_veu.clear();
        activitat().paraules_veu[0] = QStringLiteral("F,");
        return false;
    };
    carregar_exercici(f);
    EXPECT_EQ(carpetes_obertes, QStringList{dir.filePath(QStringLiteral("veus"))});
    EXPECT_EQ(activitat().carpeta_veu, dir.filePath(QStringLiteral("veus")));
    EXPECT_EQ(activitat().paraules_veu[0], QStringLiteral("1,2,"));

    // One that opens it keeps what it set; it yields while it reads, and
    // what runs meanwhile finds the activity loaded.
    jugador().estat_carrega = 0;
    int estat_durant = -1;
    veu_obrir_paraules_carpeta() = [&estat_durant](const QString& c) {
        estat_durant = jugador().estat_carrega;
        activitat().carpeta_veu = c;
        activitat().paraules_veu[0] = QStringLiteral("1,2,3,");
        return true;
    };
    carregar_exercici(f);
    EXPECT_EQ(activitat().paraules_veu[0], QStringLiteral("1,2,3,"));
    EXPECT_EQ(estat_durant, 2);
}

// The bundled first activity is in the current form and names only files it ships with.
TEST_F(FitxerLrq, TheBundledExampleIsCurrentAndComplete) {
    const QString carpeta = QDir::cleanPath(QStringLiteral(QT_TESTCASE_SOURCEDIR "/../examples/primera"));
    QFile f(carpeta + QStringLiteral("/primera.lrq"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray dades = f.readAll();
    OpcionsLectura o = opcions(IDIOMA_CATALA, QRect(0, 0, 1024, 768));
    o.carpeta = carpeta;
    ResultatLectura r = llegir_activitat(dades, f.fileName(), activitat_nova(QRect(0, 0, 1024, 768)), o);
    ASSERT_EQ(r.missatge, 0);
    EXPECT_FALSE(r.utf8);
    EXPECT_EQ(r.activitat.nombre_items, 3);
    EXPECT_EQ(str(escriure_activitat(r.activitat, IDIOMA_CATALA, carpeta)), str(dades));
    QStringList refs{r.activitat.consigna};
    for (int i = 1; i <= r.activitat.nombre_items; ++i)
        refs << r.activitat.items[i].estimuls << r.activitat.items[i].si_be << r.activitat.items[i].si_mal;
    int fitxers = 0;
    for (const QString& llista : refs) {
        for (const QString& ordre : llista.split(QRegularExpression(QStringLiteral("[»|]")))) {
            if (!ordre.startsWith(carpeta)) continue;
            ++fitxers;
            EXPECT_TRUE(QFile::exists(ordre)) << qPrintable(ordre);
            const QString nom = QFileInfo(ordre).fileName();
            EXPECT_EQ(nom, nom.toLower());
        }
    }
    EXPECT_GE(fitxers, 10);
}
