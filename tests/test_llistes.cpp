#include "core/activitat.h"
#include "core/camins.h"
#include "core/idioma.h"
#include "core/llistes.h"

#include <gtest/gtest.h>
#include <random>

using namespace lumi;

namespace {
const QString SO = QString(QChar(0xBB)); // »

struct LlistesItems : ::testing::Test {
    QString carpeta_abans;
    void SetUp() override {
        idioma() = IDIOMA_CATALA;
        carpeta_abans = carpeta_activitat();
        carpeta_activitat() = QStringLiteral("/home/u/act");
    }
    void TearDown() override {
        idioma() = IDIOMA_CATALA;
        carpeta_activitat() = carpeta_abans;
        entorn_planificador() = {};
    }
};

Activitat amb_items(int n) {
    Activitat a;
    a.nombre_items = static_cast<int16_t>(n);
    a.items.assign(n + 1, item{});
    return a;
}
} // namespace

TEST_F(LlistesItems, CountingEntries) {
    const QString c = QStringLiteral(",");
    EXPECT_EQ(llista_comptar(QString(), c), 0);
    EXPECT_EQ(llista_comptar(QStringLiteral("   "), c), 0);
    EXPECT_EQ(llista_comptar(QStringLiteral("a"), c), 1);
    EXPECT_EQ(llista_comptar(QStringLiteral("a,b"), c), 2);
    EXPECT_EQ(llista_comptar(QStringLiteral("a,b,"), c), 2);
    EXPECT_EQ(llista_comptar(QStringLiteral("a,,b"), c), 3);
    EXPECT_EQ(llista_comptar(QStringLiteral(" a,b , "), c), 2);
    // Only the separator's first character counts.
    EXPECT_EQ(llista_comptar(QStringLiteral("a,b;c"), QStringLiteral(";,")), 2);
}

TEST_F(LlistesItems, TakingEntries) {
    const QString c = QStringLiteral(",");
    EXPECT_EQ(llista_element(QStringLiteral("a,b,c"), 2, c), QStringLiteral("b"));
    EXPECT_EQ(llista_element(QStringLiteral("a,b,c"), 3, c), QStringLiteral("c"));
    EXPECT_EQ(llista_element(QStringLiteral("a,b,c"), 4, c), QString());
    EXPECT_EQ(llista_element(QStringLiteral("a,b,c"), 0, c), QString());
    EXPECT_EQ(llista_element(QStringLiteral("a,,c"), 2, c), QString());
    EXPECT_EQ(llista_element(QStringLiteral("a,,c"), 3, c), QStringLiteral("c"));
    EXPECT_EQ(llista_element(QStringLiteral("a,b,"), 3, c), QString());
    EXPECT_EQ(llista_element(QString(), 1, c), QString());
    // Entries come back relative to the activity's folder.
    EXPECT_EQ(llista_element(QStringLiteral("/home/u/act/a.wav") + SO + QStringLiteral("/home/u/act/i/b.bmp"),
                             2, SO),
              QStringLiteral("i\\b.bmp"));
    // A series prefix is skipped, in the interface language.
    EXPECT_EQ(llista_element(QStringLiteral("Sèrie a") + SO + QStringLiteral("b"), 1, SO),
              QStringLiteral("a"));
    idioma() = IDIOMA_ESPANOL;
    EXPECT_EQ(llista_element(QStringLiteral("Série a") + SO + QStringLiteral("b"), 1, SO),
              QStringLiteral("a"));
    EXPECT_EQ(llista_element(QStringLiteral("Sèrie a"), 1, SO), QStringLiteral("Sèrie a"));
}

TEST_F(LlistesItems, MovingAnEntry) {
    const QString l =
        QStringLiteral("a") + SO + QStringLiteral("b") + SO + QStringLiteral("c") + SO + QStringLiteral("d");
    // Entry 4 dropped on entry 2.
    EXPECT_EQ(llista_index(2, 4, 0, 4, l), QStringLiteral("{a}{d}{b}{c}"));
    // With an offset: control 1 is entry 2, dropped on position 3 + 1.
    EXPECT_EQ(llista_index(3, 1, 1, 4, l), QStringLiteral("{a}{c}{b}{d}"));
    // Dropped on itself or past the end: it goes last.
    EXPECT_EQ(llista_index(1, 1, 0, 4, l), QStringLiteral("{b}{c}{d}{a}"));
    EXPECT_EQ(llista_index(9, 2, 0, 4, l), QStringLiteral("{a}{c}{d}{b}"));
    // A dragged entry that does not exist adds nothing.
    EXPECT_EQ(llista_index(1, 7, 0, 4, l), QStringLiteral("{a}{b}{c}{d}"));
}

TEST_F(LlistesItems, WrappingText) {
    // Every character is 10 wide.
    const auto amplada = [](const QString& s) { return static_cast<int>(s.size()) * 10; };
    EXPECT_EQ(text_ajustar(QStringLiteral("hola"), 100, amplada), QStringLiteral("hola"));
    // Breaks after the last blank or punctuation that keeps the line narrower than the form.
    EXPECT_EQ(text_ajustar(QStringLiteral("un dos tres quatre"), 100, amplada),
              QStringLiteral("un dos \rtres \rquatre"));
    EXPECT_EQ(text_ajustar(QStringLiteral("a,b.c:d;e fgh"), 60, amplada),
              QStringLiteral("a,b.\rc:d;\re fgh"));
    // A word wider than the form is cut where it leaves the form.
    EXPECT_EQ(text_ajustar(QStringLiteral("abcdefghijkl"), 50, amplada), QStringLiteral("abcd\refgh\rijkl"));
    // Even a form narrower than one character ends.
    EXPECT_EQ(text_ajustar(QStringLiteral("abc"), 5, amplada), QStringLiteral("a\rb\rc"));
}

namespace {

// The first wrapper, kept as the reference: it measured every prefix of the
// rest of the text for every line.
QString text_ajustar_referencia(const QString& text, int amplada_form,
                                const std::function<int(const QString&)>& amplada_text) {
    static const QString trencaments = QStringLiteral(" ,.:;");
    QString resultat;
    QString resta = text;
    while (!resta.isEmpty() && amplada_text(resta) > amplada_form) {
        qsizetype tall = 0;
        qsizetype cap_que_cap = 0;
        for (qsizetype i = resta.size(); i >= 1; --i) {
            if (amplada_text(resta.left(i)) >= amplada_form) continue;
            if (cap_que_cap == 0) cap_que_cap = i;
            if (trencaments.contains(resta.at(i - 1))) {
                tall = i;
                break;
            }
        }
        if (tall == 0) tall = std::max<qsizetype>(cap_que_cap, 1);
        if (tall >= resta.size()) break;
        resultat += resta.left(tall) + QChar(13);
        resta = resta.mid(tall);
    }
    return resultat + resta;
}

// A proportional font: narrow punctuation, wide capitals, a zero-width mark.
int amplada_proporcional(const QString& s) {
    int w = 0;
    for (QChar c : s) {
        if (c == u'\u200B') continue;
        if (c == u'i' || c == u'.' || c == u',' || c == u':' || c == u';')
            w += 2;
        else if (c == u' ')
            w += 3;
        else if (c.isUpper())
            w += 9;
        else
            w += 6;
    }
    return w;
}

} // namespace

TEST_F(LlistesItems, WrappingMatchesTheFirstWrapperOnRandomTexts) {
    const QString lletres = QStringLiteral("abciiiWQ     ,.:;\u200B");
    std::mt19937 gen(12);
    for (int cas = 0; cas < 3000; ++cas) {
        QString t;
        const int n = static_cast<int>(gen() % 70);
        for (int k = 0; k < n; ++k)
            t += lletres.at(static_cast<qsizetype>(gen() % lletres.size()));
        const int amplada = static_cast<int>(gen() % 90);
        ASSERT_EQ(text_ajustar(t, amplada, amplada_proporcional),
                  text_ajustar_referencia(t, amplada, amplada_proporcional))
            << qPrintable(t) << " / " << amplada;
    }
}

TEST_F(LlistesItems, WrappingMeasuresOnlyAboutEachLine) {
    // Work proportional to the text: the characters handed to the measure
    // stay a small multiple of the text's length.
    qsizetype mesurats = 0;
    qsizetype mes_llarg = 0;
    const auto comptar = [&](const QString& s) {
        mesurats += s.size();
        mes_llarg = std::max(mes_llarg, s.size());
        return amplada_proporcional(s);
    };
    QString t;
    while (t.size() < 3000)
        t += QStringLiteral("El gat, la Gossa i el cavall: tres amics. ");
    const QString ajustat = text_ajustar(t, 400, comptar);
    EXPECT_EQ(ajustat, text_ajustar_referencia(t, 400, amplada_proporcional));
    EXPECT_LT(mesurats, 40 * t.size());
    EXPECT_LT(mes_llarg, 400);

    // A bound on the lines bounds the work whatever the length of the text.
    while (t.size() < 2000000)
        t += t;
    mesurats = 0;
    mes_llarg = 0;
    const QString primeres = text_ajustar(t, 400, comptar, 5);
    EXPECT_EQ(primeres.count(QChar(13)), 4);
    EXPECT_TRUE(ajustat.startsWith(primeres + QChar(13)));
    EXPECT_LT(mesurats, 20000);
    EXPECT_LT(mes_llarg, 400);
}

TEST_F(LlistesItems, OemCodePage) {
    const QString t = QStringLiteral("Pàgina é ç Ñ ºx");
    const QString oem = text_a_oem(t);
    EXPECT_EQ(oem.size(), t.size());
    // é is byte 130 in code page 850, which the ANSI page shows as ‚.
    EXPECT_EQ(text_a_oem(QStringLiteral("é")), QString(QChar(0x201A)));
    EXPECT_EQ(text_a_oem(QStringLiteral("abc 123")), QStringLiteral("abc 123"));
    EXPECT_EQ(text_de_oem(oem), t);
}

TEST_F(LlistesItems, ActionKinds) {
    EXPECT_EQ(icona_accio_tipus(QStringLiteral("  ")), QString());
    EXPECT_EQ(icona_accio_tipus(QStringLiteral("Teclat {F1}")), QStringLiteral("TECLAT"));
    EXPECT_EQ(icona_accio_tipus(QStringLiteral("Ratolí_Zona 003")), QStringLiteral("RATOLI"));
    EXPECT_EQ(icona_accio_tipus(QStringLiteral("Clic dret")), QStringLiteral("RATOLI"));
    EXPECT_EQ(icona_accio_tipus(QStringLiteral("Web Amunt")), QStringLiteral("WEB"));
    EXPECT_EQ(icona_accio_tipus(QStringLiteral("Joystick Botó 1")), QStringLiteral("JOYSTICK"));
    EXPECT_EQ(icona_accio_tipus(QStringLiteral("Veu 002")), QStringLiteral("VEU"));
    EXPECT_EQ(icona_accio_tipus(QStringLiteral("Soroll entre 1 2")), QStringLiteral("VEU"));
    EXPECT_EQ(icona_accio_tipus(QStringLiteral("Següent_")), QStringLiteral("Següent"));
    EXPECT_EQ(icona_accio_tipus(QStringLiteral("Anterior_")), QStringLiteral("Anterior"));
    EXPECT_EQ(icona_accio_tipus(QStringLiteral("A")), QStringLiteral("TECLAT"));
    idioma() = IDIOMA_ESPANOL;
    EXPECT_EQ(icona_accio_tipus(QStringLiteral("Mouse x")), QStringLiteral("RATOLI"));
    EXPECT_EQ(icona_accio_tipus(QStringLiteral("Voz 001")), QStringLiteral("VEU"));
}

TEST_F(LlistesItems, OrderKinds) {
    EXPECT_EQ(icona_recurs_tipus(QStringLiteral("   ")), QString());
    EXPECT_EQ(icona_recurs_tipus(QStringLiteral("gat.Jpg:P50")), QStringLiteral("GRAF"));
    EXPECT_EQ(icona_recurs_tipus(QStringLiteral("act.lrq")), QStringLiteral("LRQ"));
    EXPECT_EQ(icona_recurs_tipus(QStringLiteral("so.mp3")), QStringLiteral("SO"));
    EXPECT_EQ(icona_recurs_tipus(QStringLiteral("v.AVI")), QStringLiteral("ANIM"));
    EXPECT_EQ(icona_recurs_tipus(QStringLiteral("p.swf")), QStringLiteral("FLASH"));
    EXPECT_EQ(icona_recurs_tipus(QStringLiteral("C:\\jocs\\joc.bat")), QStringLiteral("EXE"));
    EXPECT_EQ(icona_recurs_tipus(QStringLiteral("GFONS_fons.png___")), QStringLiteral("GFONS"));
    EXPECT_EQ(icona_recurs_tipus(QStringLiteral("ITEM_3")), QStringLiteral("ITEM"));
    EXPECT_EQ(icona_recurs_tipus(QStringLiteral("COLOR_255")), QStringLiteral("Color"));
    EXPECT_EQ(icona_recurs_tipus(QStringLiteral("Color_255")), QStringLiteral("TEXT"));
    EXPECT_EQ(icona_recurs_tipus(QStringLiteral("Hola")), QStringLiteral("TEXT"));
}

TEST_F(LlistesItems, OldWordListsBecomeNumbers) {
    Activitat a = amb_items(2);
    a.paraules_veu[0] = QStringLiteral("gat,,gos");
    a.items[1].tecles_llista = QStringLiteral("el gos");
    a.items[2].tecles_llista = QStringLiteral("gat i gos");
    llista_antiga_convertir(a);
    EXPECT_EQ(a.paraules_veu[0], QStringLiteral("1,2,3"));
    EXPECT_EQ(a.items[1].veu[1], 0);
    EXPECT_EQ(a.items[1].veu[3], 1);
    EXPECT_EQ(a.items[2].veu[1], 1);
    EXPECT_EQ(a.items[2].veu[2], 0);
    EXPECT_EQ(a.items[2].veu[3], 1);

    // Words past the fifteenth have no flag to go to.
    Activitat b = amb_items(1);
    QStringList paraules;
    for (int k = 1; k <= 17; ++k)
        paraules << QStringLiteral("p%1x").arg(k);
    b.paraules_veu[0] = paraules.join(u',');
    b.items[1].tecles_llista = QStringLiteral("p17x p15x");
    llista_antiga_convertir(b);
    EXPECT_EQ(b.paraules_veu[0], QStringLiteral("1,2,3,4,5,6,7,8,9,A,B,C,D,E,F"));
    EXPECT_EQ(b.items[1].veu[15], 1);

    Activitat buida = amb_items(1);
    llista_antiga_convertir(buida);
    EXPECT_TRUE(buida.paraules_veu[0].isEmpty());
}

TEST_F(LlistesItems, WordListFollowsTheItems) {
    Activitat a = amb_items(2);
    a.items[1].veu[10] = 1;
    a.items[2].veu[1] = 1;
    item editat;
    editat.veu[0] = 1;
    items_series_revisar(a, &editat);
    EXPECT_EQ(a.paraules_veu[0], QStringLiteral("0,1,A,"));
    EXPECT_EQ(a.items[0], editat);

    // Through the planner's hooks.
    activitat() = a;
    item editat2;
    entorn_planificador().item_editat = [&editat2]() { return &editat2; };
    items_series_revisar();
    EXPECT_EQ(activitat().paraules_veu[0], QStringLiteral("1,A,"));
    activitat() = Activitat{};
}

TEST_F(LlistesItems, AddingAndRemovingWords) {
    Activitat a = amb_items(2);
    a.paraules_veu[0] = QStringLiteral("1,A,");
    series_llista_actualitzar(a, 0, 3, 1);
    EXPECT_EQ(a.paraules_veu[0], QStringLiteral("1,3,A,"));
    series_llista_actualitzar(a, 0, 3, 1);
    EXPECT_EQ(a.paraules_veu[0], QStringLiteral("1,3,A,"));
    series_llista_actualitzar(a, 0, 16, 1);
    EXPECT_EQ(a.paraules_veu[0], QStringLiteral("1,3,A,"));

    // Removal waits until no other item accepts the word.
    a.items[1].veu[3] = 1;
    a.items[2].veu[3] = 1;
    series_llista_actualitzar(a, 1, 3, 0);
    EXPECT_EQ(a.paraules_veu[0], QStringLiteral("1,3,A,"));
    a.items[2].veu[3] = 0;
    series_llista_actualitzar(a, 1, 3, 0);
    EXPECT_EQ(a.paraules_veu[0], QStringLiteral("1,A,"));

    // A list converted by older versions has no last comma.
    a.paraules_veu[0] = QStringLiteral("1,2");
    series_llista_actualitzar(a, 0, 2, 0);
    EXPECT_EQ(a.paraules_veu[0], QStringLiteral("1,"));
    a.paraules_veu[0] = QStringLiteral("1,2");
    series_llista_actualitzar(a, 0, 2, 1);
    EXPECT_EQ(a.paraules_veu[0], QStringLiteral("1,2"));
    series_llista_actualitzar(a, 0, 0, 1);
    EXPECT_EQ(a.paraules_veu[0], QStringLiteral("0,1,2,"));
}

TEST_F(LlistesItems, AWordStaysWhileASeriesUsesIt) {
    Activitat a = amb_items(2);
    a.paraules_veu[0] = QStringLiteral("3,");
    // Another item's series holds the word's code, on a code boundary.
    a.items[2].serie = QStringLiteral("H1EV03");
    series_llista_actualitzar(a, 1, 3, 0);
    EXPECT_EQ(a.paraules_veu[0], QStringLiteral("3,"));
    // "V03" straddling two codes is no use of the word.
    a.items[2].serie = QStringLiteral("HV0");
    a.items[2].serie += QStringLiteral("3AA");
    series_llista_actualitzar(a, 1, 3, 0);
    EXPECT_EQ(a.paraules_veu[0], QString());

    // The item under edit holds action text.
    a.paraules_veu[0] = QStringLiteral("3,");
    item editat;
    editat.serie = QStringLiteral("{F1}{Veu 003}");
    series_llista_actualitzar(a, 1, 3, 0, &editat);
    EXPECT_EQ(a.paraules_veu[0], QStringLiteral("3,"));
    editat.serie = QStringLiteral("{Veu 004}");
    series_llista_actualitzar(a, 1, 3, 0, &editat);
    EXPECT_EQ(a.paraules_veu[0], QString());
}
