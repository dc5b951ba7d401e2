#include "core/activitat.h"
#include "core/codis.h"
#include "core/idioma.h"
#include "core/tecles.h"
#include "core/text_codec.h"

#include <Qt>
#include <gtest/gtest.h>

using namespace lumi;

namespace {
struct Codis : ::testing::Test {
    void SetUp() override { idioma() = IDIOMA_CATALA; }
    void TearDown() override { idioma() = IDIOMA_CATALA; }
};

QString a_codis(const QString& s) {
    return accions_text_a_codis(s, 0);
}
QString a_text(const QString& s) {
    return accions_text_a_codis(s, 1);
}

const QStringList NOMS{
    QStringLiteral("{ESPAI}"),     QStringLiteral("{Ins}"),       QStringLiteral("{INICI}"),
    QStringLiteral("{Re.Pg}"),     QStringLiteral("{Supr}"),      QStringLiteral("{Fi}"),
    QStringLiteral("{Av.Pg}"),     QStringLiteral("{Tab}"),       QStringLiteral("{Retrocedir}"),
    QStringLiteral("{Alt}"),       QStringLiteral("{Altgr}"),     QStringLiteral("{Imp.Pant}"),
    QStringLiteral("{Bloq.Num}"),  QStringLiteral("{Cur.Esque}"), QStringLiteral("{Cur.Amunt}"),
    QStringLiteral("{Cur.Dreta}"), QStringLiteral("{Ctrl}"),      QStringLiteral("{Pausa}"),
    QStringLiteral("{Cur.Avall}"), QStringLiteral("{ENTER}"),     QStringLiteral("{Shift}"),
    QStringLiteral("{F1}"),        QStringLiteral("{F2}"),        QStringLiteral("{F3}"),
    QStringLiteral("{F4}"),        QStringLiteral("{F5}"),        QStringLiteral("{F6}"),
    QStringLiteral("{F7}"),        QStringLiteral("{F8}"),        QStringLiteral("{F9}"),
    QStringLiteral("{F10}"),       QStringLiteral("{F11}"),       QStringLiteral("{F12}"),
    QStringLiteral("{Bloq.May}"),  QStringLiteral("{Win Dreta}"), QStringLiteral("{Win Esqu}"),
    QStringLiteral("{Win Menú}"),  QStringLiteral("{Bloq.Desp}")};

// The name as the interface language shows it.
QString mostrat(const QString& cat) {
    const QString t = tradueix(cat);
    return t.isEmpty() ? cat : t;
}
} // namespace

TEST_F(Codis, EveryKeyNameConvertsBothWays) {
    for (const QString& l : {IDIOMA_CATALA, IDIOMA_ESPANOL, IDIOMA_GALEGO}) {
        idioma() = l;
        for (const QString& cat : NOMS) {
            const QString nom = mostrat(cat);
            const QString vk = tecla_codi_nom(nom, 0);
            ASSERT_FALSE(vk.isEmpty()) << qPrintable(nom);
            EXPECT_TRUE(vk.startsWith(u' ')) << qPrintable(nom);
            const QString codi = a_codis(nom);
            ASSERT_EQ(codi.size(), 3) << qPrintable(nom);
            if (cat == u"{Imp.Pant}") {
                EXPECT_EQ(codi, QStringLiteral("H00"));
                EXPECT_TRUE(tecla_codi_nom(QStringLiteral("0"), 1).isEmpty());
                continue;
            }
            EXPECT_NE(codi, QStringLiteral("H00")) << qPrintable(nom);
            // Reads back as a name of the table that converts to the same code.
            const QString llegit = a_text(codi);
            EXPECT_EQ(a_codis(llegit), codi) << qPrintable(nom) << " -> " << qPrintable(llegit);
            if (cat != u"{Ctrl}" && cat != u"{Pausa}") {
                EXPECT_EQ(llegit, nom) << qPrintable(l);
            }
            // The name from its virtual key, except Ctrl, which Altgr shares.
            if (cat != u"{Ctrl}") {
                EXPECT_EQ(tecla_codi_nom(vk, 1), nom);
            }
        }
    }
    EXPECT_EQ(tecla_codi_nom(QStringLiteral("  {F5} "), 0), QStringLiteral(" 116"));
    EXPECT_EQ(tecla_codi_nom(QStringLiteral("{f5}"), 0), QString());
    EXPECT_EQ(tecla_codi_nom(QStringLiteral("17"), 1), QStringLiteral("{Altgr}"));
    EXPECT_EQ(tecla_codi_nom(QStringLiteral("27"), 1), QString());
    EXPECT_EQ(tecla_codi_nom(QStringLiteral("{F5}"), 2), QString());
}

TEST_F(Codis, KnownScanCodes) {
    EXPECT_EQ(a_codis(QStringLiteral("{F1}")), QStringLiteral("H3B"));
    EXPECT_EQ(a_codis(QStringLiteral("{F11}{F12}")), QStringLiteral("H57H58"));
    EXPECT_EQ(a_codis(QStringLiteral("{ENTER}{Tab}{ESPAI}")), QStringLiteral("H1CH0FH39"));
    EXPECT_EQ(a_codis(QStringLiteral("{Cur.Amunt}{Cur.Avall}{Cur.Esque}{Cur.Dreta}")),
              QStringLiteral("H48H50H4BH4D"));
    EXPECT_EQ(a_codis(QStringLiteral("aA1 ")), QStringLiteral("H1EH1EH02H39"));
    EXPECT_EQ(a_codis(QStringLiteral("{Desconeguda}")), QStringLiteral("H00"));
    EXPECT_EQ(a_text(QStringLiteral("H0F")), QStringLiteral("{Tab}"));
    EXPECT_EQ(a_text(QStringLiteral("H1EH02")), QStringLiteral("A1"));
    EXPECT_EQ(codi_tecla(112), QStringLiteral("H3B"));
    EXPECT_EQ(codi_tecla(0), QStringLiteral("H00"));
}

TEST_F(Codis, CharactersWithoutAKeyMatchAnything) {
    EXPECT_EQ(a_text(QStringLiteral("HFF")), QStringLiteral("#"));
    for (const QString& l : {IDIOMA_CATALA, IDIOMA_ESPANOL, IDIOMA_GALEGO}) {
        idioma() = l;
        EXPECT_EQ(a_codis(QStringLiteral("#")), QStringLiteral("HFF"));
        EXPECT_EQ(a_codis(a_text(QStringLiteral("HFF"))), QStringLiteral("HFF"));
    }
    EXPECT_EQ(a_codis(QStringLiteral("é@")), QStringLiteral("HFFHFF"));
    // A key with a long name outside the table (Esc) reads back as nothing.
    EXPECT_EQ(a_text(QStringLiteral("H01")), QString());
    EXPECT_EQ(a_text(QStringLiteral("H00")), QString());
    // Punctuation keys read back as the character they type.
    for (const QString& c :
         {QStringLiteral(","), QStringLiteral("."), QStringLiteral("-"), QStringLiteral("Ñ"),
          QStringLiteral("Ç"), QStringLiteral("+"), QStringLiteral("'")})
        EXPECT_EQ(a_text(a_codis(c)), c);
}

TEST_F(Codis, TokensOfOtherDevices) {
    EXPECT_EQ(a_codis(QStringLiteral("{Zona 003}")), QStringLiteral("Z03"));
    EXPECT_EQ(a_codis(QStringLiteral("{Web Zona 012}")), QStringLiteral("W0C"));
    EXPECT_EQ(a_codis(QStringLiteral("{Veu 002}")), QStringLiteral("V02"));
    EXPECT_EQ(a_codis(QStringLiteral("{Web Amunt}")), QStringLiteral("W0A"));
    EXPECT_EQ(a_codis(QStringLiteral("{Web Zona 010}")), QStringLiteral("W0A"));
    EXPECT_EQ(a_text(QStringLiteral("W0A")), QStringLiteral("{Web Amunt}"));
    EXPECT_EQ(a_text(QStringLiteral("Z03W0CV02")), QStringLiteral("{Zona 003}{Web Zona 012}{Veu 002}"));
    EXPECT_EQ(a_codis(QStringLiteral("{Clic dret}{Clic esquerre}")), QStringLiteral("M01M02"));
    EXPECT_EQ(a_text(QStringLiteral("M03")), QString());

    // Sound level: two characters holding the bounds plus 126, as Windows-1252 bytes.
    const QString so = QStringLiteral("S") + cp1252_a_caracter(136) + cp1252_a_caracter(176);
    EXPECT_EQ(a_codis(QStringLiteral("{Soroll entre 10 50}")), so);
    EXPECT_EQ(a_text(so), QStringLiteral("{Soroll entre  10 50}"));
    EXPECT_EQ(a_codis(a_text(so)), so);

    // Every fixed token survives the round trip, in every language.
    const QStringList codis{
        QStringLiteral("M01"), QStringLiteral("M02"), QStringLiteral("W0A"), QStringLiteral("W0R"),
        QStringLiteral("W0D"), QStringLiteral("W0E"), QStringLiteral("WAE"), QStringLiteral("WAD"),
        QStringLiteral("WRD"), QStringLiteral("WRE"), QStringLiteral("WC1"), QStringLiteral("WC2"),
        QStringLiteral("J0A"), QStringLiteral("J0R"), QStringLiteral("J0D"), QStringLiteral("J0E"),
        QStringLiteral("J01"), QStringLiteral("J02"), QStringLiteral("J03"), QStringLiteral("J04"),
        QStringLiteral("W0B"), QStringLiteral("Z0F"), QStringLiteral("VFF"), QStringLiteral("H39")};
    for (const QString& l : {IDIOMA_CATALA, IDIOMA_ESPANOL, IDIOMA_GALEGO}) {
        idioma() = l;
        const QString tots = codis.join(QString());
        EXPECT_EQ(a_codis(a_text(tots)), tots) << qPrintable(l) << ": " << qPrintable(a_text(tots));
        EXPECT_EQ(a_codis(a_text(so)), so) << qPrintable(l);
    }
}

TEST_F(Codis, OlderFilesWroteCatalanNames) {
    idioma() = IDIOMA_ESPANOL;
    EXPECT_EQ(a_codis(QStringLiteral("{ESPAI}{Cur.Amunt}{Fi}")), QStringLiteral("H39H48H4F"));
    EXPECT_EQ(a_codis(QStringLiteral("{ESPACIO}{Cur.Arriba}{Fin}")), QStringLiteral("H39H48H4F"));
    EXPECT_EQ(a_codis(QStringLiteral("{Clic dret}{Joystick Botó 2}{Web Amunt Dreta}")),
              QStringLiteral("M01J02WAD"));
    EXPECT_EQ(a_codis(QStringLiteral("{Veu 002}{Voz 003}")), QStringLiteral("V02V03"));
    EXPECT_EQ(a_text(QStringLiteral("H39")), QStringLiteral("{ESPACIO}"));
}

TEST_F(Codis, UnclosedBracesArePlainCharacters) {
    EXPECT_EQ(a_codis(QStringLiteral("a{b")), QStringLiteral("H1EHFFH30"));
    EXPECT_EQ(a_codis(QStringLiteral("x{F1}y")), QStringLiteral("H2DH3BH15"));
    EXPECT_EQ(a_codis(QString()), QString());
    EXPECT_EQ(a_text(QString()), QString());
    EXPECT_EQ(accions_text_a_codis(QStringLiteral("a"), 2), QString());
}

TEST_F(Codis, LiveKeysGiveTheCodesOfTheirText) {
    for (int k = Qt::Key_A; k <= Qt::Key_Z; ++k) {
        const QChar c(static_cast<char16_t>(k));
        EXPECT_EQ(codi_tecla_qt(k, false), a_codis(QString(c))) << char(k);
        EXPECT_EQ(codi_tecla_qt(k, false), a_codis(QString(c.toLower()))) << char(k);
    }
    for (int k = Qt::Key_0; k <= Qt::Key_9; ++k)
        EXPECT_EQ(codi_tecla_qt(k, false), a_codis(QString(QChar(static_cast<char16_t>(k)))));
    for (int f = 1; f <= 12; ++f)
        EXPECT_EQ(codi_tecla_qt(Qt::Key_F1 + f - 1, false), a_codis(QStringLiteral("{F%1}").arg(f)));
    for (const QString& l : {IDIOMA_CATALA, IDIOMA_ESPANOL}) {
        idioma() = l;
        EXPECT_EQ(codi_tecla_qt(Qt::Key_Up, false), a_codis(mostrat(QStringLiteral("{Cur.Amunt}"))));
        EXPECT_EQ(codi_tecla_qt(Qt::Key_Down, false), a_codis(mostrat(QStringLiteral("{Cur.Avall}"))));
        EXPECT_EQ(codi_tecla_qt(Qt::Key_Left, false), a_codis(mostrat(QStringLiteral("{Cur.Esque}"))));
        EXPECT_EQ(codi_tecla_qt(Qt::Key_Right, false), a_codis(mostrat(QStringLiteral("{Cur.Dreta}"))));
        EXPECT_EQ(codi_tecla_qt(Qt::Key_Space, false), a_codis(mostrat(QStringLiteral("{ESPAI}"))));
    }
    EXPECT_EQ(codi_tecla_qt(Qt::Key_Return, false), a_codis(QStringLiteral("{ENTER}")));
    EXPECT_EQ(codi_tecla_qt(Qt::Key_Enter, true), a_codis(QStringLiteral("{ENTER}")));
    EXPECT_EQ(codi_tecla_qt(Qt::Key_Space, false), a_codis(QStringLiteral(" ")));
    EXPECT_EQ(codi_tecla_qt(Qt::Key_Tab, false), a_codis(QStringLiteral("{Tab}")));
    EXPECT_EQ(codi_tecla_qt(Qt::Key_Comma, false), a_codis(QStringLiteral(",")));
    // Shifted and accented characters come from their keys.
    EXPECT_EQ(codi_tecla_qt(Qt::Key_Exclam, false), a_codis(QStringLiteral("1")));
    EXPECT_EQ(codi_tecla_qt(Qt::Key_Aacute, false), a_codis(QStringLiteral("a")));
    // The keypad keeps its own keys; without Num Lock they are the navigation keys.
    EXPECT_EQ(qt_a_vk(Qt::Key_5, true), 101);
    EXPECT_EQ(codi_tecla_qt(Qt::Key_7, true), a_codis(QStringLiteral("{INICI}")));
    EXPECT_EQ(codi_tecla_qt(Qt::Key_Escape, false), QStringLiteral("H01"));
    EXPECT_EQ(codi_tecla_qt(Qt::Key_unknown, false), QStringLiteral("H00"));
}

TEST_F(Codis, DisplayForm) {
    const QString mu(QChar(0xB5));
    const QString so(QChar(0xBB));
    EXPECT_EQ(codis_a_text(QStringLiteral("{a}{b}"), 0), QStringLiteral("a") + so + QStringLiteral("b"));
    EXPECT_EQ(codis_a_text(QStringLiteral("a") + so + QStringLiteral("b"), 1), QStringLiteral("{a}{b}"));
    EXPECT_EQ(codis_a_text(QStringLiteral("xy{C}"), 0),
              mu + QStringLiteral("xy") + mu + so + QStringLiteral("C"));
    for (const QString& t : {QStringLiteral("xy{C}"), QStringLiteral("{a}xy"), QStringLiteral("{a}xy{b}"),
                             QStringLiteral("xy"), QStringLiteral("{F1}")})
        EXPECT_EQ(codis_a_text(codis_a_text(t, 0), 1), t) << qPrintable(t);
    EXPECT_EQ(codis_a_text(QString(), 0), QString());
    EXPECT_EQ(codis_a_text(QString(), 1), QString());
    EXPECT_EQ(codis_a_text(QStringLiteral("{a}"), 5), QStringLiteral("{a}"));
}

TEST_F(Codis, Escapes) {
    EXPECT_EQ(escapar_text(QStringLiteral("a b c"), 0), QStringLiteral("a\u00BBb\u00BBc"));
    EXPECT_EQ(escapar_text(QStringLiteral("a\u00BBb"), 1), QStringLiteral("a b"));
    EXPECT_EQ(escapar_text(QStringLiteral("1,2,"), 2), QStringLiteral("1^2^"));
    EXPECT_EQ(escapar_text(QStringLiteral("1^2^"), 3), QStringLiteral("1,2,"));
    EXPECT_EQ(escapar_text(QStringLiteral("a b,"), 4), QStringLiteral("a b,"));
}

TEST_F(Codis, BraceBalance) {
    EXPECT_FALSE(claus_equilibrades(QStringLiteral("}{")));
    EXPECT_FALSE(claus_equilibrades(QStringLiteral("{a")));
    EXPECT_FALSE(claus_equilibrades(QStringLiteral("{a}}")));
    EXPECT_TRUE(claus_equilibrades(QStringLiteral("{a}{b}")));
    EXPECT_TRUE(claus_equilibrades(QStringLiteral("sense claus")));
    EXPECT_TRUE(claus_equilibrades(QStringLiteral("{{a}}")));
}

TEST_F(Codis, LiveInputCodes) {
    EXPECT_EQ(codi_veu('A'), QStringLiteral("V0A"));
    EXPECT_EQ(codi_veu('1'), QStringLiteral("V01"));
    EXPECT_EQ(codi_veu('G'), QStringLiteral("   "));
    EXPECT_EQ(codi_veu('a'), QStringLiteral("   "));
    EXPECT_EQ(codi_veu('0'), QStringLiteral("   "));
    EXPECT_EQ(codi_joystick(QStringLiteral("A")), QStringLiteral("J0A"));
    EXPECT_EQ(codi_joystick(QStringLiteral("3")), QStringLiteral("J03"));
    EXPECT_EQ(codi_joystick(QStringLiteral("X")), QStringLiteral("   "));
    EXPECT_EQ(codi_joystick(QString()), QStringLiteral("J0 "));
}

TEST_F(Codis, ClicksInZones) {
    Activitat a;
    a.zones.resize(3);
    a.zones_max = 2;
    a.zones[0] = zona{0, 0, 800, 600, {}};
    a.zones[1] = zona{10, 10, 20, 20, {}};
    a.zones[2] = zona{15, 15, 40, 40, {}};
    EXPECT_EQ(codi_clic_ratoli(a, 1, 5, 5), QStringLiteral("M02"));
    EXPECT_EQ(codi_clic_ratoli(a, 2, 5, 5), QStringLiteral("M01"));
    EXPECT_EQ(codi_clic_ratoli(a, 3, 5, 5), QStringLiteral("M03"));
    EXPECT_EQ(codi_clic_ratoli(a, -1, 5, 5), QString(3, QChar(0)));
    EXPECT_EQ(codi_clic_ratoli(a, 1, 10, 10), QStringLiteral("Z01"));
    // The first zone that holds the point; right and bottom edges are outside.
    EXPECT_EQ(codi_clic_ratoli(a, 1, 16, 16), QStringLiteral("Z01"));
    EXPECT_EQ(codi_clic_ratoli(a, 1, 20, 16), QStringLiteral("Z02"));
    EXPECT_EQ(codi_clic_ratoli(a, 1, 12, 20), QStringLiteral("M02"));
    // Coordinates round halves to even: 19.5 -> 20 (outside zone 1), 9.5 -> 10 (inside).
    EXPECT_EQ(codi_clic_ratoli(a, 1, 12, 19.5f), QStringLiteral("M02"));
    EXPECT_EQ(codi_clic_ratoli(a, 1, 9.5f, 9.5f), QStringLiteral("Z01"));
}

TEST_F(Codis, WebcamZones) {
    Activitat a;
    a.zones.resize(17);
    a.zones_max = 16;
    a.zones[0] = zona{0, 0, 800, 600, {}};
    for (int n = 1; n <= 16; ++n)
        a.zones[n] = zona{n * 10, 0, n * 10 + 10, 10, {}};
    const QString res(3, QChar(0));
    EXPECT_EQ(zona_web_cam(a, 1, 1, QStringLiteral("WC1")), QStringLiteral("WC1"));
    EXPECT_EQ(zona_web_cam(a, 0, 0, QStringLiteral("WC1")), res);
    EXPECT_EQ(zona_web_cam(a, 0, 0, QStringLiteral("WC2")), QStringLiteral("WC2"));
    EXPECT_EQ(zona_web_cam(a, 5, 5, QStringLiteral("WC2")), res);
    EXPECT_EQ(zona_web_cam(a, 0, 0, QStringLiteral("W05")), res);
    EXPECT_EQ(zona_web_cam(a, 55, 5, QStringLiteral("W05")), QStringLiteral("W05"));
    EXPECT_EQ(zona_web_cam(a, 65, 5, QStringLiteral("W05")), res);
    // Zone numbers are hexadecimal, as written: W0B is zone 11, W10 zone 16.
    EXPECT_EQ(zona_web_cam(a, 115, 5, QStringLiteral("W0B")), QStringLiteral("W0B"));
    EXPECT_EQ(zona_web_cam(a, 105, 5, QStringLiteral("W0B")), res);
    EXPECT_EQ(zona_web_cam(a, 165, 5, QStringLiteral("W10")), QStringLiteral("W10"));
    EXPECT_EQ(zona_web_cam(a, 105, 5, QStringLiteral("W10")), res);
    // Directions fit wherever the colour is seen.
    for (const QString& d :
         {QStringLiteral("W0A"), QStringLiteral("W0R"), QStringLiteral("WAE"), QStringLiteral("WRD")})
        EXPECT_EQ(zona_web_cam(a, 400, 300, d), d);
    // A zone beyond the activity's zones never fits.
    a.zones_max = 5;
    EXPECT_EQ(zona_web_cam(a, 115, 5, QStringLiteral("W0B")), res);
    // Codes come from files: a signed pair names no zone, not the one before zone 0.
    for (const QString& c : {QStringLiteral("W-1"), QStringLiteral("W-F")})
        EXPECT_EQ(zona_web_cam(a, 400, 300, c), res) << c.toStdString();
}

TEST_F(Codis, DevicePredicates) {
    Activitat a;
    a.nombre_items = 2;
    a.items.assign(3, item{});
    EXPECT_EQ(usa_web_cam(a, 0), FALS);
    EXPECT_EQ(usa_nivell_so(a, 0), FALS);
    EXPECT_EQ(usa_veu(a, 0), FALS);
    EXPECT_EQ(usa_opcio_item(a), 0);

    a.items[2].web[0] = 1;
    EXPECT_EQ(usa_web_cam(a, 0), CERT);
    EXPECT_EQ(usa_web_cam(a, 2), FALS);
    a.items[2].web[0] = 0;
    a.items[2].web[12] = 1; // memory only, not an option
    EXPECT_EQ(usa_web_cam(a, 0), FALS);
    a.items[1].serie = QStringLiteral("H1EW0A");
    EXPECT_EQ(usa_web_cam(a, 0), CERT);
    EXPECT_EQ(usa_web_cam(a, 1), FALS);

    a.items[1].nivell[0] = 1;
    EXPECT_EQ(usa_nivell_so(a, 0), CERT);
    EXPECT_EQ(usa_nivell_so(a, 1), FALS);

    // Voice flags count only while there is a word list; a series voice code always.
    a.items[2].veu[15] = 1;
    EXPECT_EQ(usa_veu(a, 0), FALS);
    a.paraules_veu[0] = QStringLiteral("F,");
    EXPECT_EQ(usa_veu(a, 0), CERT);
    EXPECT_EQ(usa_veu(a, 2), FALS);
    a.paraules_veu[0].clear();
    a.items[1].serie = QStringLiteral("v01");
    EXPECT_EQ(usa_veu(a, 0), CERT);

    a.items[2].ratoli[0] = 1;
    EXPECT_EQ(usa_opcio_item(a), 1);
    // Item 0 is scratch space and is never looked at.
    Activitat b;
    b.nombre_items = 1;
    b.items.assign(2, item{});
    b.items[0].ratoli[0] = 1;
    b.items[0].web[1] = 1;
    EXPECT_EQ(usa_opcio_item(b), 0);
    EXPECT_EQ(usa_web_cam(b, 0), FALS);
}
