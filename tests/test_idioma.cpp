#include "core/activitat.h"
#include "core/idioma.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace lumi;

namespace {
struct Idioma : ::testing::Test {
    void SetUp() override { idioma() = IDIOMA_CATALA; }
    void TearDown() override { idioma() = IDIOMA_CATALA; }
};

QJsonObject taula(const QString& nom) {
    QFile f(QStringLiteral(":/lang/") + nom + QStringLiteral(".json"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return QJsonDocument::fromJson(f.readAll()).object();
}
} // namespace

TEST_F(Idioma, MessagesOutsideTheTableAreEmpty) {
    for (const QString& l : {IDIOMA_CATALA, IDIOMA_ESPANOL, IDIOMA_GALEGO}) {
        idioma() = l;
        for (int n : {12, 55, 83, -1, 1000})
            EXPECT_TRUE(text_idioma(n).isEmpty()) << n;
        EXPECT_FALSE(text_idioma(0).isEmpty());
        EXPECT_FALSE(text_idioma(82).isEmpty());
    }
}

TEST_F(Idioma, TheTablesHoldTheGivenTexts) {
    EXPECT_EQ(text_idioma(31), QStringLiteral("El Lumi Raga ja s'està executant!"));
    EXPECT_EQ(text_idioma(49), QStringLiteral("Hi ha un error en la sintaxis dels comandaments de LLISTA\r"
                                              "Rectifica-ho o prem CANCEL·LAR"));
    EXPECT_EQ(text_idioma(81), QStringLiteral("ja existeix i les seves dades es perdran  "));
    idioma() = IDIOMA_ESPANOL;
    EXPECT_EQ(text_idioma(30), QStringLiteral("Ha hecho modificaciones en el archivo que se perderán"));
    EXPECT_EQ(text_idioma(81), QStringLiteral("ya existe y los datos se perderan"));
    EXPECT_EQ(tradueix(QStringLiteral("Teclat")), QStringLiteral("TECLADO"));
    idioma() = IDIOMA_GALEGO;
    EXPECT_EQ(text_idioma(30), QStringLiteral("Fixo modificacións no arquivo que se perderán"));
    EXPECT_EQ(text_idioma(82), QStringLiteral("Este proxecto xa existe"));
    EXPECT_EQ(tradueix(QStringLiteral("LumiRaga - Inici")), QStringLiteral("LumiRaga - Inicio"));
    EXPECT_EQ(tradueix(QStringLiteral("LUMIRAGA - Sense nom")), QStringLiteral("LUMIRAGA - Sen título"));
    for (const QString& l : {IDIOMA_CATALA, IDIOMA_ESPANOL, IDIOMA_GALEGO})
        EXPECT_EQ(tradueix_en(l, QStringLiteral("Web_Zona")), QStringLiteral("WEB"));
}

TEST_F(Idioma, SpanishMessagesAreSpanishNotGalician) {
    // The messages that read the same in both languages: names, shared
    // words and keywords, and the two empty ones.
    const QList<int> iguals{1, 6, 8, 12, 15, 16, 20, 24, 32, 35, 55, 60, 63, 64, 65, 69, 71, 78, 79};
    const QRegularExpression inicial(QStringLiteral("^\\P{L}*\\p{Lu}")); // a capital, where Catalan has one
    for (int n = 0; n <= 82; ++n) {
        const QString es = text_idioma_en(IDIOMA_ESPANOL, n), gl = text_idioma_en(IDIOMA_GALEGO, n);
        if (iguals.contains(n))
            EXPECT_EQ(es, gl) << n;
        else
            EXPECT_NE(es, gl) << n;
        EXPECT_TRUE(!text_idioma(n).contains(inicial) || (es.contains(inicial) && gl.contains(inicial))) << n;
    }
    // Galician words that Spanish does not have.
    const QRegularExpression galego(
        QStringLiteral(
            "\\b(arquivos?|reaccións|accións|xa|non|unha|do|da|cos?|coa|sen|seguinte|recoñecemento|"
            "exercicios?|tempos?|fixo|debuxo|ou|pechar|cor|atallo|rematado|hai|erro|ordes)\\b"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    for (int n = 0; n <= 82; ++n) {
        const QString es = text_idioma_en(IDIOMA_ESPANOL, n);
        EXPECT_FALSE(galego.match(es).hasMatch()) << n << ": " << es.toStdString();
    }
    EXPECT_EQ(text_idioma_en(IDIOMA_ESPANOL, 0), QStringLiteral("Lista de reacciones"));
    EXPECT_EQ(text_idioma_en(IDIOMA_ESPANOL, 38),
              QStringLiteral("Ejercicios LumiRaga|*.Lrq|Todos los archivos|*.*"));
}

TEST_F(Idioma, SpanishMessagesKeepTheLineBreaksBlanksAndPatternsCallersRelyOn) {
    // Line breaks, the blanks a text begins or ends with (token words are
    // followed by a number or a name) and the patterns of a filter.
    auto forma = [](const QString& t) {
        QStringList f{QString::number(t.count(u'\r')), QString::number(t.count(u'\n')),
                      QString::number(t.size() - t.trimmed().size()),
                      t.isEmpty() ? QStringLiteral("buit") : QString(),
                      t.endsWith(u' ') ? QStringLiteral("blanc") : QString()};
        const QStringList parts = t.split(u'|');
        for (qsizetype i = 1; i < parts.size(); i += 2)
            f << parts[i];
        return f;
    };
    for (int n = 0; n <= 82; ++n) {
        const QString es = text_idioma_en(IDIOMA_ESPANOL, n);
        // Catalan's where the Spanish table was made from it; 81 and 82 as
        // Galician's, whose texts they always matched.
        const QString model = text_idioma_en(n <= 80 ? IDIOMA_CATALA : IDIOMA_GALEGO, n);
        EXPECT_EQ(forma(es), forma(model)) << n << ": " << es.toStdString();
    }
    // Both filters name every file as well.
    for (int n : {13, 36, 38})
        EXPECT_TRUE(text_idioma_en(IDIOMA_ESPANOL, n).endsWith(QStringLiteral("|Todos los archivos|*.*")))
            << n;
}

TEST_F(Idioma, EveryTableHasEachCaptionKeyAndTermOfTheOthers) {
    const QRegularExpression forma(QStringLiteral("^[A-Za-z0-9_]+\\|[A-Za-z0-9_]+ \\|( [0-9]+)?\\|c\\|$"));
    QSet<QString> claus_catala;
    int captions = 0;
    for (const auto& e : taula(QStringLiteral("catala")).value(QStringLiteral("traduccions")).toArray()) {
        const QString clau = e.toArray().at(0).toString();
        claus_catala.insert(clau);
        if (clau.contains(u'|') && clau.endsWith(QStringLiteral("|c|"))) {
            ++captions;
            EXPECT_TRUE(forma.match(clau).hasMatch()) << qPrintable(clau);
        }
    }
    EXPECT_EQ(captions, 220);
    for (const QString& l : {QStringLiteral("espanol"), QStringLiteral("galego")}) {
        const QJsonObject t = taula(l);
        EXPECT_EQ(t.value(QStringLiteral("missatges")).toArray().size(), 83);
        for (const auto& e : t.value(QStringLiteral("traduccions")).toArray())
            EXPECT_TRUE(claus_catala.contains(e.toArray().at(0).toString())) << qPrintable(l);
    }
}

TEST_F(Idioma, UnknownLanguageLeavesEverythingAsItIs) {
    idioma() = QStringLiteral("klingon");
    EXPECT_EQ(text_idioma(31), QString());
    EXPECT_EQ(tradueix(QStringLiteral("Teclat")), QStringLiteral("Teclat"));
    const QString t = QStringLiteral("1»PECHAR_|CFONT_255");
    EXPECT_EQ(tradueix_paraules_clau(t, 0), t);
    EXPECT_EQ(tradueix_paraules_clau(t, 1), t);
}

TEST_F(Idioma, CaptionKeysFollowTheKeyRule) {
    EXPECT_EQ(clau_traduccio(QStringLiteral("Form1"), QStringLiteral("mn_velocitat"), 1, u'c'),
              QStringLiteral("Form1|mn_velocitat | 1|c|"));
    EXPECT_EQ(clau_traduccio(QStringLiteral("rec_graf"), QStringLiteral("Label3"), -1, u'c'),
              QStringLiteral("rec_graf|Label3 ||c|"));
    EXPECT_EQ(clau_traduccio(QStringLiteral("f"), QStringLiteral("x"), 10, QChar()),
              QStringLiteral("f|x | 10||"));
}

TEST_F(Idioma, KeywordsTranslateBothWaysWhereAnOrderBegins) {
    idioma() = IDIOMA_GALEGO;
    // To Catalan for the file, back to Galician after reading.
    EXPECT_EQ(tradueix_paraules_clau(QStringLiteral("CFUENTE_255"), 0), QStringLiteral("CFONT_255"));
    EXPECT_EQ(tradueix_paraules_clau(QStringLiteral("FONTE_Arial 14-1 0"), 0),
              QStringLiteral("FONT_Arial 14-1 0"));
    EXPECT_EQ(tradueix_paraules_clau(QStringLiteral("CABECEIRA_Ola»PECHAR_"), 0),
              QStringLiteral("CAPÇALERA_Ola»TANCAR_"));
    EXPECT_EQ(tradueix_paraules_clau(QStringLiteral("CFONT_255"), 1), QStringLiteral("CFUENTE_255"));
    EXPECT_EQ(tradueix_paraules_clau(QStringLiteral("2»COLOR_255|FONT_x"), 1),
              QStringLiteral("2»COR_255|FONTE_x"));
    // Round trip of a whole list.
    const QString llista = QStringLiteral("3»CENTRADO_Ola|ESPERAR_15»CTFONDO_0|GFONDO_fons.jpg___");
    EXPECT_EQ(tradueix_paraules_clau(tradueix_paraules_clau(llista, 0), 1), llista);
    // File names and words inside a text are not keywords.
    EXPECT_EQ(tradueix_paraules_clau(QStringLiteral("1»COR_1.JPG"), 0), QStringLiteral("1»COR_1.JPG"));
    EXPECT_EQ(tradueix_paraules_clau(QStringLiteral("1»DECOR_1.JPG:P050"), 0),
              QStringLiteral("1»DECOR_1.JPG:P050"));
    EXPECT_EQ(tradueix_paraules_clau(QStringLiteral("CENTRADO_a COR_b"), 0),
              QStringLiteral("CENTRAT_a COR_b"));
    // Small letters and texts without keywords stay as they are.
    EXPECT_EQ(tradueix_paraules_clau(QStringLiteral("pechar_"), 0), QStringLiteral("pechar_"));
    EXPECT_EQ(tradueix_paraules_clau(QStringLiteral("1»gat.bmp"), 1), QStringLiteral("1»gat.bmp"));
    EXPECT_EQ(tradueix_paraules_clau(QString(), 1), QString());
    idioma() = IDIOMA_CATALA;
    EXPECT_EQ(tradueix_paraules_clau(QStringLiteral("COLOR_1"), 1), QStringLiteral("COLOR_1"));
}
