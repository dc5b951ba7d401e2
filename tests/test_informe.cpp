#include "player/Form1.h"
#include "ajudes.h"
#include "ajudes_exercici.h"
#include "player/finestra_informe.h"
#include "core/idioma.h"
#include "core/informe.h"
#include "platform/instancia.h"
#include "core/text_codec.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lumi;
using namespace lumi::proves;

namespace {
dades_informe informe_de_prova() {
    dades_informe d;
    d.capcalera = QStringLiteral("03/05/2024   10:00:00");
    d.temps_inici = 36000;
    d.temps_final = 36095;
    d.temps_exercici = 95;
    d.respostes_be = 3;
    d.respostes_mal = 1;
    d.nombre_preguntes = 5;
    d.nombre_respostes = 4;
    d.preguntes_no_respostes = 2;
    d.nom_exercici = QStringLiteral("/activitats/gat.lrq");
    return d;
}

const QString DETALL = QStringLiteral("\r\n10:00:01|************ NOU ESTIMUL ************"
                                      "\r\n10:00:01| ESTIMUL gat.bmp"
                                      "\r\n10:00:04| BE bravo.wav");

struct Informe : ::testing::Test {
    void TearDown() override { idioma() = IDIOMA_CATALA; }
};
} // namespace

TEST_F(Informe, SummaryFollowsTheDetailWithItsOwnSeparators) {
    const QString esperat = DETALL + QStringLiteral("\r\n******************************\r\n"
                                                    "**     RESUM EXERCICI       **\r\n"
                                                    "******************************\r\n"
                                                    "Nom de l'exercici = \t/activitats/gat.lrq\r\n"
                                                    "Temps de l'exercici =\t 95\r\n"
                                                    "Nombre de Preguntes =\t 5\r\n"
                                                    "Nombre de Respostes =\t 4\r\n"
                                                    "Respostes BE =\t\t 3\r\n"
                                                    "Respostes malament =\t 1\r\n"
                                                    "Preguntes no respostes = 2\r\n"
                                                    "\r\n");
    EXPECT_EQ(text_resum_informe(informe_de_prova(), DETALL), esperat);
}

TEST_F(Informe, NegativeValuesTakeTheBlankPlace) {
    dades_informe d;
    d.temps_exercici = -3;
    const QString s = text_resum_informe(d, QString());
    EXPECT_TRUE(s.startsWith(QStringLiteral("\r\n***")));
    EXPECT_TRUE(s.contains(QStringLiteral("Temps de l'exercici =\t-3\r\n")));
    EXPECT_TRUE(s.contains(QStringLiteral("Nom de l'exercici = \t\r\n")));
}

TEST_F(Informe, WholeReportLineByLineInEveryLanguage) {
    for (const QString& llengua : {IDIOMA_CATALA, IDIOMA_ESPANOL, IDIOMA_GALEGO}) {
        idioma() = llengua;
        const QStringList l = text_informe(informe_de_prova(), DETALL).split(QStringLiteral("\r\n"));
        auto m = [&](int n) { return text_idioma_en(llengua, n); };
        ASSERT_EQ(l.size(), 22) << llengua.toStdString();
        EXPECT_EQ(l[0], m(20));
        EXPECT_EQ(l[1], QStringLiteral("03/05/2024   10:00:00"));
        EXPECT_EQ(l[2], QString());
        EXPECT_EQ(l[3], QString());
        EXPECT_EQ(l[4], QString(32, u'*'));
        EXPECT_EQ(l[5], QStringLiteral("**      ") + m(22) + QStringLiteral("      **"));
        EXPECT_EQ(l[6], QString(32, u'*'));
        EXPECT_EQ(l[7], QStringLiteral("10:00:01|************ NOU ESTIMUL ************"));
        EXPECT_EQ(l[9], QStringLiteral("10:00:04| BE bravo.wav"));
        EXPECT_EQ(l[10], QString(30, u'*'));
        EXPECT_EQ(l[11], QStringLiteral("**     ") + m(21) + QStringLiteral("       **"));
        EXPECT_EQ(l[13], m(28) + QStringLiteral(" = \t/activitats/gat.lrq"));
        EXPECT_EQ(l[17], m(26) + QStringLiteral(" =\t\t 3"));
        EXPECT_EQ(l[19], m(29) + QStringLiteral(" = 2"));
        EXPECT_EQ(l[20], QString());
        EXPECT_EQ(l[21], QString());
    }
    // The languages really differ where the tables do.
    EXPECT_NE(text_idioma_en(IDIOMA_CATALA, 24), text_idioma_en(IDIOMA_ESPANOL, 24));
}

TEST_F(Informe, TimesOfDayAreWholeSecondsOfTheDay) {
    EXPECT_EQ(hora_text(0), QStringLiteral("00:00:00"));
    EXPECT_EQ(hora_text(45296.9), QStringLiteral("12:34:56"));
    EXPECT_EQ(hora_text(86399.99), QStringLiteral("23:59:59"));
    EXPECT_EQ(hora_text(86400.5), QStringLiteral("00:00:00"));
    EXPECT_EQ(capcalera_informe(QDate(2024, 5, 3), 36000.4), QStringLiteral("03/05/2024   10:00:00"));
}

namespace {
struct FinestraInformeProva : Informe {
    EntornProva entorn;
    Form1 f;
    QTemporaryDir dir;
    void SetUp() override {
        ASSERT_TRUE(f.Form_Load());
        jugador().estat_finestra = 1; // already activated: no start dialog
    }
    void TearDown() override {
        Informe::TearDown();
        plataforma::alliberar_instancia_unica();
    }
};
} // namespace

TEST_F(FinestraInformeProva, ReportGoesToTheClipboardAndToAWindowOfItsOwn) {
    informe() = informe_de_prova();
    informe_detall() = DETALL;
    f.mn_informe_Click();
    const QString esperat = text_informe(informe_de_prova(), DETALL);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), esperat);
    FinestraInforme* w = f.finestra_informe();
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->text(), esperat);
    EXPECT_EQ(w->editor->textCursor().position(), 0);
    // Asked again, the same window shows the report of the moment.
    informe().respostes_be = 4;
    f.mn_informe_Click();
    EXPECT_EQ(f.finestra_informe(), w);
    EXPECT_TRUE(w->text().contains(QStringLiteral("Respostes BE =\t\t 4")));
}

TEST_F(FinestraInformeProva, BeforeAnyRunTheReportHoldsZeros) {
    f.mn_informe_Click();
    const QString t = f.finestra_informe()->text();
    EXPECT_TRUE(t.startsWith(QStringLiteral("INFORME LUMI-RAGA\r\n\r\n\r\n\r\n****")));
    EXPECT_TRUE(t.contains(QStringLiteral("Nombre de Preguntes =\t 0\r\n")));
}

TEST_F(FinestraInformeProva, SavedReportKeepsWhatTheTeacherTyped) {
    informe() = informe_de_prova();
    f.mn_informe_Click();
    FinestraInforme* w = f.finestra_informe();
    const QString cami = dir.filePath(QStringLiteral("informe.txt"));
    ASSERT_TRUE(w->desar(cami));
    QFile llegit(cami);
    ASSERT_TRUE(llegit.open(QIODevice::ReadOnly));
    const QByteArray dades = llegit.readAll();
    llegit.close();
    EXPECT_TRUE(dades.contains("\r\nRespostes BE =\t\t 3\r\n"));
    EXPECT_EQ(descodificar_text(dades), w->text());

    // A character outside Windows-1252 is kept: the file becomes UTF-8.
    w->editor->setPlainText(QStringLiteral("Nota: Ω\nfi"));
    ASSERT_TRUE(w->desar(cami));
    ASSERT_TRUE(llegit.open(QIODevice::ReadOnly));
    const QByteArray utf8 = llegit.readAll();
    EXPECT_TRUE(utf8.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(descodificar_text(utf8), QStringLiteral("Nota: Ω\r\nfi"));
}

TEST_F(FinestraInformeProva, AFailedSaveSaysSo) {
    f.mn_informe_Click();
    const QString cami = dir.filePath(QStringLiteral("no_hi_es/informe.txt"));
    auto resposta = respondre_missatge(QMessageBox::Ok);
    EXPECT_FALSE(f.finestra_informe()->desar(cami));
    EXPECT_TRUE(resposta->vist);
    EXPECT_TRUE(resposta->text.startsWith(QStringLiteral("No s'ha pogut desar el fitxer")));
    EXPECT_TRUE(resposta->text.contains(cami));
    EXPECT_FALSE(QFile::exists(cami));
}
