// The word-recognition road to the speech engine, against the synthetic
// engine: the unit start and its refusals, the list split, the pattern sets,
// the word and ready messages, and the hooks.
#include "ajudes_exercici.h"
#include "contestador.h"
#include "core/idioma.h"
#include "devices/captura_so.h"
#include "devices/modul_veu.h"
#include "platform/finestres.h"
#include "player/Form1.h"
#include "player/menus.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace lumi;

namespace {

class ModulVeu : public ::testing::Test {
  protected:
    proves::EntornProva entorn;
    proves::MotorProva motor;
    QWidget finestra;
    int preparats = 0;
    void SetUp() override {
        entorn.rellotge.pas = 0.05;
        plataforma::posar_motor_veu(&motor);
        finestra_captura() = [this] { return &finestra; };
        jugador_veu().menus_preparats = [this] { ++preparats; };
        activitat().paraules_veu[0] = QStringLiteral("1,2,3");
    }
    void TearDown() override {
        restaurar_ganxo_veu(dispositius().procOld_rec);
        restaurar_ganxo_so(dispositius().procOld_so);
    }
    static void cedir() {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
};

} // namespace

TEST_F(ModulVeu, RefusalsSayWhyWithTheirOwnTexts) {
    proves::Contestador c;
    activitat().paraules_veu[0].clear();
    EXPECT_FALSE(veu_iniciar_unitat());
    // One entry: nothing starts and nothing is said.
    activitat().paraules_veu[0] = QStringLiteral("A");
    EXPECT_FALSE(veu_iniciar_unitat());
    EXPECT_EQ(motor.unitats, 0);
    // The engine refuses: message 55, which has no text.
    activitat().paraules_veu[0] = QStringLiteral("A,I");
    motor.resultat_reconeixement = 1;
    EXPECT_FALSE(veu_iniciar_unitat());
    EXPECT_EQ(dispositius().procOld_rec, 0);
    // The sound level is being captured: message 54.
    dispositius().nivell_so_actiu = -2;
    EXPECT_FALSE(veu_iniciar_unitat());
    dispositius().nivell_so_actiu = 0;
    ASSERT_EQ(c.textos.size(), 3);
    EXPECT_EQ(c.textos[0], text_idioma(56));
    EXPECT_EQ(c.textos[1], text_idioma(55));
    EXPECT_TRUE(c.textos[1].isEmpty());
    EXPECT_EQ(c.textos[2], text_idioma(54));

    // A running unit refuses the sound level, with the hook's number.
    motor.resultat_reconeixement = 0;
    ASSERT_TRUE(veu_iniciar_unitat());
    EXPECT_EQ(dispositius().versio_motor_veu, motor.versio);
    const int32_t token = dispositius().procOld_rec;
    EXPECT_NE(token, 0);
    EXPECT_EQ(so_iniciar_captura(),
              text_idioma(53) + QStringLiteral("procOld_rec = ") + QString::number(token));
    // And a second unit start is refused too.
    EXPECT_FALSE(veu_iniciar_unitat());
    EXPECT_EQ(c.textos.last(), text_idioma(54));
}

TEST_F(ModulVeu, TheListSplitsAt31CommasAndTheListeningTimeIsClamped) {
    QStringList l;
    for (int i = 1; i <= 40; ++i)
        l << QStringLiteral("P%1").arg(i);
    Activitat& a = activitat();
    a.paraules_veu[0] = l.join(u',');
    a.decimes_veu = 0;
    ASSERT_TRUE(veu_iniciar_unitat());
    EXPECT_EQ(a.paraules_veu[1], QStringLiteral("P1"));
    EXPECT_EQ(a.paraules_veu[31], QStringLiteral("P31"));
    EXPECT_EQ(a.paraules_veu[32], l.mid(31).join(u','));
    EXPECT_EQ(dispositius().num_paraules_veu, 32);
    EXPECT_EQ(motor.nombre_unitat, 32);
    EXPECT_EQ(a.decimes_veu, 2);
    EXPECT_EQ(motor.decimes, 2);

    for (auto [abans, despres] : {std::pair{1, 1}, {15, 14}, {-3, 2}, {14, 14}}) {
        dispositius() = EstatDispositius{};
        a.decimes_veu = static_cast<int16_t>(abans);
        ASSERT_TRUE(veu_iniciar_unitat());
        EXPECT_EQ(a.decimes_veu, despres) << abans;
        EXPECT_EQ(motor.decimes, despres) << abans;
    }
}

TEST_F(ModulVeu, ThePauseEndsAcrossMidnightAndKeepsHandlingEvents) {
    entorn.rellotge.dia = 86399.9;
    const double t0 = entorn.rellotge.t;
    bool pintat = false;
    jugador_veu().esperar = [&](double s) {
        QTimer::singleShot(0, [&] { pintat = true; });
        plataforma::esperar(s, QEventLoop::ExcludeUserInputEvents);
    };
    ASSERT_TRUE(veu_iniciar_unitat());
    EXPECT_GE(entorn.rellotge.t - t0, 1.0);
    EXPECT_LT(entorn.rellotge.t - t0, 1.2);
    EXPECT_TRUE(pintat);
    // The engine's ready message, posted at the unit start, was heard.
    EXPECT_EQ(dispositius().motor_veu_preparat, CERT);
}

TEST_F(ModulVeu, ReadyEnablesOnceAndWordsAreTypedLiterally) {
    QWidget accions;
    accions.setObjectName(QStringLiteral("ACCIONS"));
    auto* guardar = new QPushButton(&accions);
    guardar->setObjectName(QStringLiteral("CommandGuardar"));
    guardar->setEnabled(false);
    accions.show();
    ASSERT_TRUE(veu_iniciar_unitat());
    cedir();
    EXPECT_EQ(preparats, 1);
    EXPECT_TRUE(guardar->isEnabled());
    plataforma::enviar_missatge_motor(plataforma::registrar_finestra(&finestra), -1, 0);
    cedir();
    EXPECT_EQ(preparats, 1);
    accions.hide();

    activitat().paraules_veu[2] = QStringLiteral("+^{(a");
    auto* camp = new QLineEdit(&finestra);
    finestra.show();
    QApplication::setActiveWindow(&finestra);
    camp->setFocus();
    cedir();
    motor.reconeixer(2);
    for (int k : {0, 33, -2})
        motor.reconeixer(k);
    cedir();
    EXPECT_EQ(camp->text(), QStringLiteral("+^{(a"));

    // Removed, the hook types nothing more.
    ASSERT_TRUE(restaurar_ganxo_veu(dispositius().procOld_rec));
    EXPECT_FALSE(restaurar_ganxo_veu(dispositius().procOld_rec));
    motor.reconeixer(2);
    cedir();
    EXPECT_EQ(camp->text(), QStringLiteral("+^{(a"));
}

TEST_F(ModulVeu, ANewActivityRemovesTheHooksWhileTheVersionIsUnknown) {
    ASSERT_TRUE(veu_iniciar_unitat());
    // As a start whose engine never told its version would leave it.
    dispositius().versio_motor_veu = 0;
    exercici_nou();
    motor.reconeixer(1);
    auto* camp = new QLineEdit(&finestra);
    finestra.show();
    camp->setFocus();
    cedir();
    EXPECT_TRUE(camp->text().isEmpty());
    EXPECT_FALSE(restaurar_ganxo_veu(dispositius().procOld_rec));
}

TEST_F(ModulVeu, AFailedOpenKeepsTheActivitysPatternsAndAnOpenedSetIsSplitAgain) {
    Activitat& a = activitat();
    a.carpeta_veu = QStringLiteral("/on/era");
    a.paraules_veu[0] = QStringLiteral("1,2");
    // The unit cannot start: nothing of the activity changes.
    motor.resultat_reconeixement = 1;
    {
        proves::Contestador c;
        EXPECT_FALSE(veu_obrir_paraules_carpeta(QStringLiteral("/nou")));
    }
    EXPECT_EQ(a.carpeta_veu, QStringLiteral("/on/era"));
    EXPECT_EQ(a.paraules_veu[0], QStringLiteral("1,2"));
    // The unit starts but the set does not open: the same.
    motor.resultat_reconeixement = 0;
    dispositius().veu_activa = 0;
    motor.fitxer_obert = 0;
    EXPECT_FALSE(veu_obrir_paraules_carpeta(QStringLiteral("/nou")));
    EXPECT_EQ(motor.cami_obert, QStringLiteral("/nou"));
    EXPECT_EQ(a.carpeta_veu, QStringLiteral("/on/era"));
    EXPECT_EQ(a.paraules_veu[0], QStringLiteral("1,2"));

    // Opened: the set's labels, word k typing label k.
    motor.fitxer_obert = 1;
    motor.sons = QStringLiteral("O,A,I");
    EXPECT_TRUE(veu_obrir_paraules_carpeta(QStringLiteral("/nou")));
    EXPECT_EQ(a.carpeta_veu, QStringLiteral("/nou"));
    EXPECT_EQ(a.paraules_veu[0], QStringLiteral("O,A,I"));
    EXPECT_EQ(a.paraules_veu[1], QStringLiteral("O"));
    EXPECT_EQ(a.paraules_veu[3], QStringLiteral("I"));
    EXPECT_EQ(dispositius().motor_veu_preparat, CERT);
}

TEST_F(ModulVeu, AnEmptyListOpensWithTwoEntries) {
    activitat().paraules_veu[0].clear();
    motor.fitxer_obert = 1;
    motor.sons = QStringLiteral("X,Y");
    EXPECT_TRUE(veu_obrir_paraules_carpeta(QStringLiteral("/p")));
    EXPECT_EQ(motor.llista_unitat, QStringLiteral("A,I"));
}

TEST_F(ModulVeu, EngineWindowsAreNotForms) {
    QDialog d;
    d.setObjectName(QStringLiteral("motor_veu_entrenament"));
    d.setProperty(plataforma::PROPIETAT_FINESTRA_DISPOSITIU, true);
    d.show();
    QDialog forma;
    forma.setObjectName(QStringLiteral("una_forma"));
    forma.show();
    descarregar_formularis();
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(forma.isVisible());
}
