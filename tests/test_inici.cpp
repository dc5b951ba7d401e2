#include "player/Form1.h"
#include "ajudes.h"
#include "core/camins.h"
#include "platform/carpetes.h"
#include "contestador.h"
#include "core/fitxer_lrq.h"
#include "core/idioma.h"
#include "platform/ini.h"
#include "player/inici.h"
#include "platform/instancia.h"
#include "player/menus.h"

#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace lumi;
using namespace lumi::proves;

namespace {

struct Inici : ::testing::Test {
    QTemporaryDir tmp;
    std::unique_ptr<Form1> f;
    int planner = 0;
    QString planner_fitxer;
    int dialegs = 0;

    void SetUp() override {
        QDir casa(plataforma::carpeta_programa());
        for (const QString& n : casa.entryList(QDir::Files))
            casa.remove(n);
        idioma() = IDIOMA_CATALA;
        activitat() = Activitat{};
        jugador() = EstatJugador{};
        llistes() = Llistes{};
        QDir::setCurrent(tmp.path());
        obrir_planificar() = [this] {
            ++planner;
            planner_fitxer = activitat().fitxer_actual;
        };
        triador_fitxer() = [this](QWidget*, const EleccioFitxer&) -> std::optional<QString> {
            ++dialegs;
            return std::nullopt;
        };
        f = std::make_unique<Form1>();
        ASSERT_TRUE(f->Form_Load());
        f->connectar_menus();
        // Project folders are made relative to the current folder.
        QDir::setCurrent(tmp.path());
    }
    void TearDown() override {
        if (inici::carregat()) inici::instancia()->descarregar();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        f.reset();
        obrir_planificar() = nullptr;
        triador_fitxer() = dialeg_fitxer;
        idioma() = IDIOMA_CATALA;
        QDir::setCurrent(plataforma::carpeta_programa());
        plataforma::alliberar_instancia_unica();
    }

    // The dialog, shown (not modal) so its controls take clicks.
    inici* dialeg() {
        inici* d = inici::instancia();
        d->show();
        return d;
    }
    static void clic(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
};

} // namespace

TEST_F(Inici, LoadingSetsTheWindowStateTitleAndCurrentLanguage) {
    jugador().estat_finestra = 1;
    inici* d = dialeg();
    EXPECT_EQ(jugador().estat_finestra, 2);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("LumiRaga - Inici"));
    EXPECT_TRUE(d->ct_idioma[0]->isChecked());
    EXPECT_TRUE(d->Frame2->isVisible());
    EXPECT_FALSE(d->Frame1->isVisible());
    EXPECT_FALSE(d->Frame3->isVisible());
    // The language choice ran once for the current language.
    EXPECT_EQ(plataforma::ini_llegir(plataforma::fitxer_ini_programa(), QStringLiteral("inici"),
                                     QStringLiteral("idioma")),
              IDIOMA_CATALA);
}

TEST_F(Inici, LanguageOptionsRetranslateDialogAndPlayer) {
    inici* d = dialeg();
    const QString clau = QStringLiteral("inici|Command1 | 1|c|");
    clic(d->ct_idioma[1]);
    EXPECT_EQ(idioma(), IDIOMA_ESPANOL);
    EXPECT_TRUE(f->mn_idioma[1]->isChecked());
    EXPECT_EQ(cancel_qt(), QStringLiteral("Cancelar")); // Qt's own dialogs as well
    EXPECT_EQ(d->windowTitle(), QStringLiteral("LumiRaga - Inicio"));
    EXPECT_EQ(d->Command1[1]->text(), tradueix_en(IDIOMA_ESPANOL, clau));
    EXPECT_EQ(f->mn_disc[1]->text(), tradueix_en(IDIOMA_ESPANOL, QStringLiteral("Form1|mn_disc | 1|c|")));

    // The Galician title reads as the Spanish one.
    clic(d->ct_idioma[2]);
    EXPECT_EQ(idioma(), IDIOMA_GALEGO);
    EXPECT_EQ(cancel_qt(), QStringLiteral("Cancelar")); // Qt has no Galician: Spanish
    EXPECT_EQ(d->windowTitle(), QStringLiteral("LumiRaga - Inicio"));
    EXPECT_EQ(d->Label3->text(), tradueix_en(IDIOMA_GALEGO, QStringLiteral("inici|Label3 ||c|")));
    EXPECT_EQ(plataforma::ini_llegir(plataforma::fitxer_ini_programa(), QStringLiteral("inici"),
                                     QStringLiteral("idioma")),
              IDIOMA_GALEGO);

    clic(d->ct_idioma[0]);
    EXPECT_EQ(d->windowTitle(), QStringLiteral("LumiRaga - Inici"));
    EXPECT_EQ(cancel_qt(), QStringLiteral("Cancel·la"));
    EXPECT_EQ(d->Command1[1]->text(), tradueix_en(IDIOMA_CATALA, clau));
}

TEST_F(Inici, PanelsFollowTheButtons) {
    inici* d = dialeg();
    clic(d->Command1[0]);
    EXPECT_TRUE(d->Frame1->isVisible());
    EXPECT_FALSE(d->Frame2->isVisible());
    EXPECT_GE(d->width(), 355);
    clic(d->Command1[4]);
    EXPECT_TRUE(d->Frame2->isVisible());
    EXPECT_FALSE(d->Frame1->isVisible());
    clic(d->Command1[2]);
    EXPECT_TRUE(d->Frame3->isVisible());
    EXPECT_FALSE(d->Frame2->isVisible());
    clic(d->Command1[6]);
    EXPECT_TRUE(d->Frame2->isVisible());
    EXPECT_FALSE(d->Frame3->isVisible());
}

TEST_F(Inici, NewExerciseNormalisesTheNameWritesItAndOpensThePlanner) {
    const struct {
        const char* escrit;
        const char* fitxer;
    } casos[] = {{"casa", "casa.lrq"}, {"casa.txt", "casa.lrq"}, {"casa.LRQ", "casa.LRQ"}};
    for (const auto& c : casos) {
        QDir(tmp.path()).mkdir(QString::fromLatin1(c.escrit) + QStringLiteral("_d"));
        const QString carpeta = tmp.filePath(QString::fromLatin1(c.escrit) + QStringLiteral("_d"));
        inici* d = dialeg();
        clic(d->Command1[0]);
        d->posar_carpeta(carpeta);
        d->Text1->setText(QString::fromLatin1(c.escrit));
        activitat().exercici_modificat = CERT;
        {
            Contestador r({QMessageBox::Ok});
            clic(d->Command1[3]);
            ASSERT_EQ(r.textos.size(), 1);
            EXPECT_EQ(r.textos[0], text_idioma(30));
        }
        const QString esperat = QDir(carpeta).filePath(QString::fromLatin1(c.fitxer));
        EXPECT_TRUE(QFile::exists(esperat)) << c.escrit;
        EXPECT_EQ(activitat().fitxer_actual, esperat);
        EXPECT_EQ(activitat().exercici_modificat, FALS);
        EXPECT_EQ(planner_fitxer, esperat);
        EXPECT_FALSE(inici::carregat());
        EXPECT_EQ(QDir::current(), QDir(carpeta));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_EQ(planner, 3);
}

TEST_F(Inici, EnterInTheNameBoxAccepts) {
    inici* d = dialeg();
    clic(d->Command1[0]);
    d->posar_carpeta(tmp.path());
    EXPECT_GE(d->File1->count(), 0);
    d->Text1->setText(QStringLiteral("tecla"));
    QTest::keyClick(d->Text1, Qt::Key_Return);
    EXPECT_TRUE(QFile::exists(tmp.filePath(QStringLiteral("tecla.lrq"))));
    EXPECT_EQ(planner, 1);
}

TEST_F(Inici, AnEmptyNameOrACancelledDiscardLeavesEverything) {
    inici* d = dialeg();
    clic(d->Command1[0]);
    d->posar_carpeta(tmp.path());
    activitat().exercici_modificat = CERT;
    activitat().items[1].estimuls = QStringLiteral("1»meu.bmp");
    {
        // The discard question comes even with no name.
        Contestador r({QMessageBox::Ok});
        clic(d->Command1[3]);
        EXPECT_EQ(r.textos.size(), 1);
    }
    d->Text1->setText(QStringLiteral("res"));
    {
        Contestador r({QMessageBox::Cancel});
        clic(d->Command1[3]);
        EXPECT_EQ(r.textos.size(), 1);
    }
    EXPECT_FALSE(QFile::exists(tmp.filePath(QStringLiteral("res.lrq"))));
    EXPECT_EQ(activitat().items[1].estimuls, QStringLiteral("1»meu.bmp"));
    EXPECT_TRUE(inici::carregat());
    EXPECT_EQ(planner, 0);
}

TEST_F(Inici, AnExistingFileIsOverwrittenOnlyAfterOkAndThenSavedOverUnasked) {
    const QString fitxer = tmp.filePath(QStringLiteral("vell.lrq"));
    QFile v(fitxer);
    ASSERT_TRUE(v.open(QIODevice::WriteOnly));
    v.write("vell");
    v.close();
    // Opened first, and refused: what is saved over it is asked about.
    triador_fitxer() = [&](QWidget*, const EleccioFitxer&) -> std::optional<QString> { return fitxer; };
    {
        Contestador r;
        f->mn_disc[1]->trigger();
        ASSERT_EQ(r.textos.size(), 1);
    }
    for (const QString& ll : {IDIOMA_ESPANOL, IDIOMA_GALEGO, IDIOMA_CATALA}) {
        idioma() = ll;
        inici* d = dialeg();
        clic(d->Command1[0]);
        d->posar_carpeta(tmp.path());
        d->Text1->setText(QStringLiteral("vell"));
        Contestador r({QMessageBox::Cancel});
        clic(d->Command1[3]);
        ASSERT_EQ(r.textos.size(), 1);
        EXPECT_EQ(r.textos[0], text_idioma_en(ll, 81) + QStringLiteral("vell.lrq"));
        QFile l(fitxer);
        ASSERT_TRUE(l.open(QIODevice::ReadOnly));
        EXPECT_EQ(l.readAll(), QByteArray("vell"));
        d->descarregar();
    }
    inici* d = dialeg();
    clic(d->Command1[0]);
    d->posar_carpeta(tmp.path());
    d->Text1->setText(QStringLiteral("vell"));
    Contestador r({QMessageBox::Ok});
    clic(d->Command1[3]);
    QFile l(fitxer);
    ASSERT_TRUE(l.open(QIODevice::ReadOnly));
    EXPECT_TRUE(l.readAll().contains("LUMIRAGA7.1"));
    EXPECT_EQ(planner, 1);
    // It holds the new activity now: saving it again loses nothing.
    Contestador desar;
    f->mn_disc[2]->trigger();
    EXPECT_TRUE(desar.textos.isEmpty()) << desar.textos.join(u'|').toStdString();
}

TEST_F(Inici, ANameOfTheLongestTheFileSystemTakesIsCreatedInPlace) {
    // "ç" takes two bytes: 255 bytes in all.
    const QString nom = QString(20, u'ç') + QString(211, u'a') + QStringLiteral(".lrq");
    inici* d = dialeg();
    clic(d->Command1[0]);
    d->posar_carpeta(tmp.path());
    d->Text1->setText(nom);
    Contestador r;
    clic(d->Command1[3]);
    EXPECT_TRUE(r.textos.isEmpty()) << qPrintable(r.textos.join(u'\n'));
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{nom});
}

TEST_F(Inici, AFailedWriteIsReportedAndTheDialogStays) {
    const QString carpeta = tmp.filePath(QStringLiteral("fugaç"));
    QDir(tmp.path()).mkdir(QStringLiteral("fugaç"));
    inici* d = dialeg();
    clic(d->Command1[0]);
    d->posar_carpeta(carpeta);
    QDir(carpeta).removeRecursively();
    d->Text1->setText(QString(240, u'p') + QStringLiteral(".lrq"));
    Contestador r;
    clic(d->Command1[3]);
    ASSERT_EQ(r.textos.size(), 1);
    for (const QString& linia : r.textos[0].split(u'\n'))
        EXPECT_LT(d->fontMetrics().horizontalAdvance(linia), d->screen()->availableGeometry().width());
    EXPECT_EQ(r.textos[0].remove(u'\n'),
              tradueix(QStringLiteral("fitxers|no_desat")) + carpeta + u'/' + d->Text1->text());
    EXPECT_TRUE(activitat().fitxer_actual.isEmpty());
    EXPECT_TRUE(inici::carregat());
    EXPECT_EQ(planner, 0);
}

TEST_F(Inici, NewProjectMakesItsFolderAndFileAndRefusesASecondOne) {
    inici* d = dialeg();
    clic(d->Command1[2]);
    d->Text2->setText(QStringLiteral("sons"));
    activitat().exercici_modificat = CERT;
    {
        // One discard question for the whole project.
        Contestador r({QMessageBox::Ok});
        clic(d->Command1[5]);
        EXPECT_EQ(r.textos.size(), 1);
    }
    const QString fitxer = tmp.filePath(QStringLiteral("sons/_sons.lrq"));
    EXPECT_TRUE(QFile::exists(fitxer));
    EXPECT_EQ(activitat().fitxer_actual, fitxer);
    EXPECT_EQ(planner_fitxer, fitxer);
    EXPECT_FALSE(inici::carregat());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

    QDir::setCurrent(tmp.path());
    for (const QString& ll : {IDIOMA_CATALA, IDIOMA_ESPANOL, IDIOMA_GALEGO}) {
        idioma() = ll;
        d = dialeg();
        clic(d->Command1[2]);
        d->Text2->setText(QStringLiteral("sons"));
        Contestador r;
        clic(d->Command1[5]);
        ASSERT_EQ(r.textos.size(), 1);
        EXPECT_EQ(r.textos[0], text_idioma_en(ll, 82));
        EXPECT_TRUE(inici::carregat());
    }
    EXPECT_EQ(planner, 1);
}

TEST_F(Inici, ACancelledNewProjectLeavesNoFolder) {
    inici* d = dialeg();
    clic(d->Command1[2]);
    d->Text2->setText(QStringLiteral("buit"));
    activitat().exercici_modificat = CERT;
    Contestador r({QMessageBox::Cancel});
    clic(d->Command1[5]);
    EXPECT_EQ(r.textos.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(tmp.filePath(QStringLiteral("buit"))));
    EXPECT_EQ(planner, 0);
}

TEST_F(Inici, RunWithCancelledOpenUnloadsAndResetsTheWindowState) {
    inici* d = dialeg();
    activitat().fitxer_actual = QStringLiteral("/no/importa.lrq");
    clic(d->Command1[1]);
    EXPECT_EQ(dialegs, 1);
    EXPECT_TRUE(activitat().fitxer_actual.isEmpty());
    EXPECT_EQ(jugador().estat_finestra, 0);
    EXPECT_FALSE(inici::carregat());
}

TEST_F(Inici, RunWithAChosenActivityLeavesThePlayerActivated) {
    exercici_nou();
    activitat().items[1].estimuls = QStringLiteral("1»CENTRAT_Hola");
    const QString fitxer = tmp.filePath(QStringLiteral("joc.lrq"));
    carpeta_activitat() = tmp.path();
    ASSERT_TRUE(desar_exercici(fitxer));
    exercici_nou();
    triador_fitxer() = [&](QWidget*, const EleccioFitxer&) -> std::optional<QString> { return fitxer; };
    inici* d = dialeg();
    clic(d->Command1[1]);
    EXPECT_EQ(activitat().fitxer_actual, fitxer);
    // The next activation must neither reopen this dialog nor show the menus
    // over the exercise.
    EXPECT_EQ(jugador().estat_finestra, 1);
    EXPECT_FALSE(inici::carregat());
    f->exercici_atura();
}

TEST_F(Inici, MenuItemsOpenTheDialogModally) {
    bool vist = false, panell_nou = false;
    QTimer t;
    QObject::connect(&t, &QTimer::timeout, [&] {
        auto* d = qobject_cast<inici*>(QApplication::activeModalWidget());
        if (!d) return;
        vist = true;
        panell_nou = d->Frame1->isVisible() && !d->Frame2->isVisible();
        d->reject();
    });
    t.start(10);
    f->mn_disc[0]->trigger();
    EXPECT_TRUE(vist);
    EXPECT_TRUE(panell_nou);
    EXPECT_FALSE(inici::carregat());

    vist = false;
    f->mn_inici->trigger();
    EXPECT_TRUE(vist);
    EXPECT_FALSE(panell_nou);
    t.stop();
}
