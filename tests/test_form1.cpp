#include "player/Form1.h"
#include "ajudes.h"
#include "ajudes_exercici.h"
#include "platform/carpetes.h"
#include "core/idioma.h"
#include "platform/ini.h"
#include "platform/instancia.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QLockFile>
#include <QMenuBar>
#include <QScreen>
#include <gtest/gtest.h>

using namespace lumi;
using namespace lumi::proves;

namespace {
struct Jugador : ::testing::Test {
    void SetUp() override {
        // Each test starts from a clean program folder and state.
        QDir casa(plataforma::carpeta_programa());
        for (const QString& f : casa.entryList(QDir::Files))
            casa.remove(f);
        activitat() = Activitat{};
        jugador() = EstatJugador{};
        dispositius() = EstatDispositius{};
        llistes() = Llistes{};
    }
    void TearDown() override {
        idioma() = IDIOMA_CATALA;
        plataforma::alliberar_instancia_unica();
    }
    static QString ini() { return plataforma::carpeta_programa() + QStringLiteral("/lumiraga.ini"); }
};
} // namespace

TEST_F(Jugador, FirstStartWithoutIniIsCatalanAndPlacedOnTheScreen) {
    Form1 f;
    ASSERT_TRUE(f.Form_Load());
    EXPECT_EQ(idioma(), IDIOMA_CATALA);
    EXPECT_EQ(cancel_qt(), QStringLiteral("Cancel·la"));
    EXPECT_TRUE(f.mn_idioma[0]->isChecked());
    EXPECT_FALSE(f.mn_idioma[1]->isChecked() || f.mn_idioma[2]->isChecked());
    EXPECT_EQ(f.windowTitle(), QStringLiteral("LUMIRAGA - Sense nom"));
    EXPECT_EQ(activitat().nombre_items, 1);
    const QRect s = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(f.pos(), QPoint(s.width() * 5 / 100, s.height() * 5 / 100));
    EXPECT_EQ(f.size(), QSize(s.width() * 90 / 100, s.height() * 90 / 100));
    auto inici = tancar_dialeg_modal();
    f.Form_Activate();
    EXPECT_EQ(inici->nom, QStringLiteral("inici")); // the start dialog opened over the window
    // Closing the dialog gives the window back: it is activated again.
    f.Form_Activate();
    EXPECT_EQ(f.mn_disc[3]->text(), QStringLiteral("Crear Drecera"));
    EXPECT_EQ(f.mn_velocitat[0]->text(), QStringLiteral("+ Ràpid 125"));
    EXPECT_EQ(f.mn_velocitat[1]->text(), QStringLiteral("= Actual 100"));
    EXPECT_EQ(f.mn_velocitat[2]->text(), QStringLiteral("- Ràpid 80"));
    EXPECT_TRUE(f.mn_opcions->menuAction()->isVisible());
    EXPECT_EQ(jugador().estat_finestra, 1);
}

TEST_F(Jugador, SpeedCaptionsUse32BitFloats) {
    EXPECT_EQ(Form1::percentatge_velocitat(1.0f, 0), 125);
    EXPECT_EQ(Form1::percentatge_velocitat(1.0f, 1), 100);
    EXPECT_EQ(Form1::percentatge_velocitat(1.0f, 2), 80);
    // After one "faster": 0.8 in 32-bit float.
    EXPECT_EQ(Form1::percentatge_velocitat(0.8f, 0), 156);
    EXPECT_EQ(Form1::percentatge_velocitat(0.8f, 1), 125);
    EXPECT_EQ(Form1::percentatge_velocitat(0.8f, 2), 100);
}

TEST_F(Jugador, TheIniLanguageTranslatesCaptionsAndTicksItsItem) {
    ASSERT_TRUE(
        plataforma::ini_escriure(ini(), QStringLiteral("inici"), QStringLiteral("idioma"), IDIOMA_GALEGO));
    Form1 f;
    ASSERT_TRUE(f.Form_Load());
    EXPECT_EQ(idioma(), IDIOMA_GALEGO);
    EXPECT_EQ(cancel_qt(), QStringLiteral("Cancelar")); // Qt's Spanish stands in for Galician
    EXPECT_TRUE(f.mn_idioma[2]->isChecked());
    EXPECT_FALSE(f.mn_idioma[0]->isChecked());
    auto inici = tancar_dialeg_modal();
    f.Form_Activate();
    EXPECT_EQ(f.windowTitle(), QStringLiteral("LUMIRAGA - Sen título"));
    f.Form_Activate();
    const QString clau = QStringLiteral("Form1|mn_disc | 1|c|");
    EXPECT_EQ(f.mn_disc[1]->text(), tradueix_en(IDIOMA_GALEGO, clau));
    EXPECT_NE(f.mn_disc[1]->text(), tradueix_en(IDIOMA_CATALA, clau));
    EXPECT_EQ(f.mn_velocitat[1]->text(),
              tradueix_en(IDIOMA_GALEGO, QStringLiteral("Form1|mn_velocitat | 1|c|")) +
                  QStringLiteral(" 100"));
    // Menus without an entry keep their design caption.
    EXPECT_EQ(f.mn_id->title(), QStringLiteral("Idioma"));
}

TEST_F(Jugador, AnUnknownLanguageTicksNothing) {
    ASSERT_TRUE(plataforma::ini_escriure(ini(), QStringLiteral("inici"), QStringLiteral("idioma"),
                                         QStringLiteral("x")));
    Form1 f;
    ASSERT_TRUE(f.Form_Load());
    for (QAction* a : f.mn_idioma)
        EXPECT_FALSE(a->isChecked());
    auto inici = tancar_dialeg_modal();
    f.Form_Activate();
    EXPECT_EQ(f.mn_disc[1]->text(), QStringLiteral("Obrir"));
}

TEST_F(Jugador, ASecondCopyIsRefusedWithMessage31) {
    QLockFile altra(plataforma::carpeta_execucio() + QStringLiteral("/lumiraga.lock"));
    ASSERT_TRUE(altra.tryLock(0));
    ASSERT_TRUE(
        plataforma::ini_escriure(ini(), QStringLiteral("inici"), QStringLiteral("idioma"), IDIOMA_ESPANOL));
    Form1 f;
    auto r = respondre_missatge(QMessageBox::Ok);
    EXPECT_FALSE(f.Form_Load());
    EXPECT_TRUE(r->vist);
    EXPECT_EQ(r->text, text_idioma_en(IDIOMA_ESPANOL, 31));
    // Nothing was touched: no new activity, no system entry remembered.
    EXPECT_EQ(activitat().nombre_items, 0);
}

TEST_F(Jugador, TheLockOfACopyThatDiedIsTakenAndNothingElseInItsPlaceKeepsAStartOut) {
    const QString cami = plataforma::carpeta_execucio() + QStringLiteral("/lumiraga.lock");
    const QString diana = plataforma::carpeta_programa() + QStringLiteral("/diana.txt");
    // What a copy killed on another machine sharing the folder leaves.
    for (const auto& [f, text] :
         {std::pair{cami, "999999\nlumiraga\naltra\n"}, std::pair{diana, "intacte"}}) {
        QFile w(f);
        ASSERT_TRUE(w.open(QIODevice::WriteOnly) && w.write(text) > 0);
    }
    EXPECT_TRUE(plataforma::reservar_instancia_unica());
    plataforma::alliberar_instancia_unica();
    // A link (never written through) or a folder in its place.
    ASSERT_TRUE(QFile::link(diana, cami));
    EXPECT_TRUE(plataforma::reservar_instancia_unica());
    ASSERT_TRUE(QFile::remove(cami) && QDir().mkdir(cami));
    EXPECT_TRUE(plataforma::reservar_instancia_unica());
    QDir().rmdir(cami);
    QFile d(diana);
    EXPECT_TRUE(d.open(QIODevice::ReadOnly) && d.readAll() == "intacte");
}

TEST_F(Jugador, ClosingRestoresTheScreenSaverEntryAndDeletesTheSnapshot) {
    const QString sys = plataforma::fitxer_system_ini();
    ASSERT_TRUE(plataforma::ini_escriure(sys, QStringLiteral("boot"), QStringLiteral("SCRNSAVE.EXE"),
                                         QStringLiteral("bubbles.scr")));
    Form1 f;
    ASSERT_TRUE(f.Form_Load());
    EXPECT_EQ(f.estalvi_pantalla, QStringLiteral("bubbles.scr"));
    // Something changes the entry while the program runs.
    ASSERT_TRUE(
        plataforma::ini_escriure(sys, QStringLiteral("boot"), QStringLiteral("SCRNSAVE.EXE"), QString()));
    QFile snap(plataforma::fitxer_desfer());
    ASSERT_TRUE(snap.open(QIODevice::WriteOnly));
    snap.close();
    int16_t cancel = 0;
    f.Form_Unload(cancel);
    EXPECT_EQ(cancel, 0);
    EXPECT_EQ(plataforma::ini_llegir(sys, QStringLiteral("boot"), QStringLiteral("SCRNSAVE.EXE")),
              QStringLiteral("bubbles.scr"));
    EXPECT_FALSE(QFile::exists(plataforma::fitxer_desfer()));
}

TEST_F(Jugador, AMissingScreenSaverKeyIsWrittenBackEmpty) {
    Form1 f;
    ASSERT_TRUE(f.Form_Load());
    int16_t cancel = 0;
    f.Form_Unload(cancel);
    QFile sys(plataforma::fitxer_system_ini());
    ASSERT_TRUE(sys.open(QIODevice::ReadOnly));
    EXPECT_TRUE(sys.readAll().contains("SCRNSAVE.EXE=\r\n"));
}

TEST_F(Jugador, UnsavedChangesAskBeforeClosing) {
    Form1 f;
    ASSERT_TRUE(f.Form_Load());
    jugador().estat_finestra = 1; // already activated: no start dialog
    f.show();
    activitat().exercici_modificat = CERT;
    QFile snap(plataforma::fitxer_desfer());
    ASSERT_TRUE(snap.open(QIODevice::WriteOnly));
    snap.close();

    auto r = respondre_missatge(QMessageBox::Cancel);
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(r->vist);
    EXPECT_EQ(r->text, QStringLiteral("Heu fet modificacions al fitxer que es perdran"));
    EXPECT_EQ(r->titol, QStringLiteral("Atencio"));
    EXPECT_TRUE(f.isVisible());
    EXPECT_TRUE(QFile::exists(plataforma::fitxer_desfer()));
    EXPECT_FALSE(QFile::exists(plataforma::fitxer_system_ini()));

    r = respondre_missatge(QMessageBox::Ok);
    EXPECT_TRUE(f.close());
    EXPECT_TRUE(r->vist);
    EXPECT_FALSE(QFile::exists(plataforma::fitxer_desfer()));
    EXPECT_TRUE(QFile::exists(plataforma::fitxer_system_ini()));
}

TEST_F(Jugador, NoQuestionWithoutChanges) {
    Form1 f;
    ASSERT_TRUE(f.Form_Load());
    jugador().estat_finestra = 1; // already activated: no start dialog
    f.show();
    auto r = respondre_missatge(QMessageBox::Cancel);
    EXPECT_TRUE(f.close());
    QCoreApplication::processEvents();
    EXPECT_FALSE(r->vist);
}

namespace {
// A clock that moves on at every reading, so waits end without real time.
struct RellotgeQueCorre : proves::RellotgeProva {
    double monotonic() override {
        avancar(0.05);
        return mono;
    }
};
} // namespace

TEST_F(Jugador, TheCommandLineActivityIsLoadedAndStartedOnce) {
    proves::EntornProva entorn;
    RellotgeQueCorre rellotge;
    plataforma::posar_rellotge(&rellotge);
    // A path relative to the program folder, as a teacher's shortcut gives it.
    const QString carpeta = plataforma::carpeta_programa() + QStringLiteral("/act");
    ASSERT_TRUE(QDir().mkpath(carpeta));
    for (const QString& f : QDir(QStringLiteral(LUMI_EXEMPLES "/primera")).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(QStringLiteral(LUMI_EXEMPLES "/primera/") + f, carpeta + u'/' + f));

    Form1 f;
    f.linia_ordres = QStringLiteral("act/primera.lrq");
    ASSERT_TRUE(f.Form_Load());
    f.show();
    f.Form_Activate();
    EXPECT_EQ(activitat().nombre_items, 3);
    EXPECT_EQ(QFileInfo(activitat().fitxer_actual).canonicalFilePath(),
              QFileInfo(carpeta + QStringLiteral("/primera.lrq")).canonicalFilePath());
    EXPECT_TRUE(f.exercici_en_marxa);
    EXPECT_EQ(jugador().estat_finestra, 1);
    // A later activation does not start it again.
    const auto preguntes = informe().nombre_preguntes;
    f.Form_Activate();
    EXPECT_EQ(informe().nombre_preguntes, preguntes);
    f.atura_per_esc();
    EXPECT_FALSE(f.exercici_en_marxa);
    plataforma::posar_rellotge(nullptr);
}
