#include "core/activitat.h"
#include "devices/captura_so.h"
#include "platform/finestres.h"
#include "generar_media.h"
#include "core/idioma.h"
#include "platform/media.h"
#include "comuns/media_jugar.h"
#include "platform/motor_veu.h"
#include "platform/pantalla.h"
#include "platform/rellotge.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMediaPlayer>
#include <QProcess>
#include <QTemporaryDir>
#include <QVideoWidget>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

using namespace lumi;
namespace pf = lumi::plataforma;

namespace {

// Everything the playback sends out, in order: commands and engine calls.
struct Registre {
    QStringList entrades;
};

class MciGravadora : public pf::Mci {
  public:
    MciGravadora(Registre& r, QWidget* pic) : r_(r), pic_(pic) {}
    int enviar(const QString& ordre) override {
        // The picture box's state as each command goes out.
        r_.entrades << ordre + (pic_ && pic_->isVisible() ? QStringLiteral(" [pic]") : QString());
        if (ordre.startsWith(u"open") && falla_obrir) return pf::MCIERR_NO_ES_POT_LLEGIR;
        return pf::MCI_OK;
    }
    void en_fallada(const QString& nom, std::function<void()> f) override {
        fallades << nom;
        avis = std::move(f);
    }
    bool falla_obrir = false;
    QStringList fallades;
    std::function<void()> avis;

  private:
    Registre& r_;
    QWidget* pic_;
};

class MotorFals : public pf::MotorVeu {
  public:
    explicit MotorFals(Registre& r) : r_(r) {}
    bool present() const override { return true; }
    int16_t IniciarReconeixement() override { return anota(QStringLiteral("IniciarReconeixement"), 0); }
    void PararReconeixement() override { anota(QStringLiteral("PararReconeixement"), 0); }
    int16_t IniciarCapturaNivellDeSo(int32_t f) override {
        finestra = f;
        return anota(QStringLiteral("IniciarCapturaNivellDeSo"), resultat_captura);
    }
    void FinalitzarCapturaNivellDeSo() override { anota(QStringLiteral("FinalitzarCapturaNivellDeSo"), 0); }
    int32_t ObrirFitxer() override { return 1; }
    void CopiarSonsQueSeReconeixerALaCarpeta() override {}
    void IniciarEntrenament() override {}
    void VeureFinestraGrafiques() override {}
    void GuardarFitxerReconeixementDeParaules() override {}
    float NumeroVersio() override { return versio; }

    float versio = 90;
    int16_t resultat_captura = 0;
    int32_t finestra = 0;

  private:
    int16_t anota(const QString& s, int16_t r) {
        r_.entrades << s;
        return r;
    }
    Registre& r_;
};

void reiniciar_estat() {
    jugador().media_actual.clear();
    EstatDispositius& d = dispositius();
    d.veu_activa = 0;
    d.nivell_so_actiu = 0;
    d.versio_motor_veu = 0;
    d.procOld_rec = 0;
    d.procOld_so = 0;
    d.nivell_so = 0;
    d.nivells_so.fill(0);
}

bool esperar_fins(const std::function<bool()>& cond, double maxim) {
    const double fi = pf::rellotge().monotonic() + maxim;
    while (!cond()) {
        if (pf::rellotge().monotonic() > fi) return false;
        pf::esperar(0.02);
    }
    return true;
}

// The player's playback on a recorder: the window, its picture box and the
// media files it plays.
class Reproduccio : public ::testing::Test {
  protected:
    void SetUp() override {
        reiniciar_estat();
        finestra.resize(400, 300);
        pic = new QWidget(&finestra);
        pic->hide();
        finestra.show();
        finestra_video() = [this] { return pic; };
        finestra_captura() = [this] { return &finestra; };
        mci = std::make_unique<MciGravadora>(reg, pic);
        pf::posar_mci(mci.get());
        pf::posar_motor_veu(&motor);
        ASSERT_TRUE(dir.isValid());
        a = crear(QStringLiteral("a.avi"));
        b = crear(QStringLiteral("b.AVI"));
        so = crear(QStringLiteral("so.wav"));
        QDir(dir.path()).mkpath(QStringLiteral("amb espais"));
        espais = crear(QStringLiteral("amb espais/un so.wav"));
    }
    void TearDown() override {
        pf::posar_mci(nullptr);
        pf::posar_motor_veu(nullptr);
        finestra_video() = {};
        finestra_captura() = {};
        reiniciar_estat();
    }
    QString crear(const QString& nom) {
        const QString cami = dir.filePath(nom);
        QFile f(cami);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        return cami;
    }
    void jugar(QString f) { reproduir_media(f); }
    QString obrir_avi(const QString& f) const {
        return QStringLiteral("open %1 type AVIVideo alias animation parent %2 style 1073741824 [pic]")
            .arg(f)
            .arg(pf::registrar_finestra(pic));
    }
    QString posar() const {
        const QRect p = pf::rectangle_escriptori();
        return QStringLiteral("put animation window at 1 1 %1 %2 [pic]")
            .arg(p.width() - 2)
            .arg(p.height() - 2);
    }

    QTemporaryDir dir;
    QWidget finestra;
    QWidget* pic = nullptr;
    Registre reg;
    std::unique_ptr<MciGravadora> mci;
    MotorFals motor{reg};
    QString a, b, so, espais;
};

} // namespace

TEST(OrdreMci, TakesCommandsApartWithBlanksInNamesAndAnyLetterCase) {
    auto o = pf::analitzar_ordre_mci(QStringLiteral(
        "open /tmp/amb espais/v.avi type AVIVideo alias animation parent 65540 style 1073741824"));
    ASSERT_TRUE(o.valida);
    EXPECT_EQ(o.verb, QStringLiteral("open"));
    EXPECT_EQ(o.nom, QStringLiteral("/tmp/amb espais/v.avi"));
    EXPECT_EQ(o.tipus, QStringLiteral("AVIVideo"));
    EXPECT_EQ(o.alias, QStringLiteral("animation"));
    EXPECT_EQ(o.pare, 65540);
    EXPECT_EQ(o.estil, 1073741824);

    o = pf::analitzar_ordre_mci(QStringLiteral("OPEN \"/a b/c.wav\""));
    EXPECT_TRUE(o.valida);
    EXPECT_EQ(o.nom, QStringLiteral("/a b/c.wav"));
    EXPECT_TRUE(o.alias.isEmpty());

    o = pf::analitzar_ordre_mci(QStringLiteral("put animation window at 1 1 1022 766"));
    ASSERT_TRUE(o.valida);
    EXPECT_EQ(o.finestra, QRect(1, 1, 1022, 766));

    o = pf::analitzar_ordre_mci(QStringLiteral("play /x y/z.mid"));
    EXPECT_TRUE(o.valida);
    EXPECT_EQ(o.nom, QStringLiteral("/x y/z.mid"));

    // What the playback sends for a missing file, and other unreadable commands.
    EXPECT_FALSE(pf::analitzar_ordre_mci(QStringLiteral("play ")).valida);
    EXPECT_FALSE(pf::analitzar_ordre_mci(QStringLiteral("close")).valida);
    EXPECT_FALSE(pf::analitzar_ordre_mci(QStringLiteral("put animation window at 1 1")).valida);
    EXPECT_FALSE(pf::analitzar_ordre_mci(QStringLiteral("seek animation to 3")).valida);
    EXPECT_EQ(pf::mci_qt().enviar(QStringLiteral("play ")), pf::MCIERR_ORDRE_DESCONEGUDA);
    EXPECT_EQ(pf::mci_qt().enviar(QStringLiteral("close nothing-open")), pf::MCIERR_NOM_DESCONEGUT);
}

TEST(CamiCurt, ExistingFileWhateverItsCaseOrEmpty) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("Sons"));
    const QString cami = dir.filePath(QStringLiteral("Sons/GAT.WAV"));
    QFile f(cami);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_EQ(pf::cami_curt(cami), cami);
    EXPECT_EQ(pf::cami_curt(dir.filePath(QStringLiteral("sons/gat.wav")) + u' '), cami);
    EXPECT_EQ(pf::cami_curt(dir.filePath(QStringLiteral("Sons/gos.wav"))), QString());
    EXPECT_EQ(pf::cami_curt(dir.path()), QString()); // a folder is not a medium
    EXPECT_EQ(pf::cami_curt(QString()), QString());
}

TEST(Finestres, OneHandleForEachWidgetAndNoneAfterItIsGone) {
    EXPECT_EQ(pf::registrar_finestra(nullptr), 0);
    auto* w = new QWidget;
    const int32_t h = pf::registrar_finestra(w);
    EXPECT_NE(h, 0);
    EXPECT_EQ(pf::registrar_finestra(w), h);
    EXPECT_EQ(pf::finestra_per_handle(h), w);
    QWidget altre;
    EXPECT_NE(pf::registrar_finestra(&altre), h);
    delete w;
    EXPECT_EQ(pf::finestra_per_handle(h), nullptr);
    EXPECT_EQ(pf::finestra_per_handle(12345), nullptr);
}

TEST_F(Reproduccio, TwoVideosInARowCloseTheFirstAndShowTheBoxAgain) {
    jugar(a);
    EXPECT_TRUE(pic->isVisible());
    EXPECT_EQ(pic->geometry(), QRect(QPoint(0, 0), pf::rectangle_escriptori().size()));
    jugar(b);
    const QStringList esperat{obrir_avi(a), posar(), QStringLiteral("play animation [pic]"),
                              // hidden between the close of the first and the open of the second
                              QStringLiteral("close animation [pic]"), QStringLiteral("close ") + a,
                              obrir_avi(b), posar(), QStringLiteral("play animation [pic]")};
    EXPECT_EQ(reg.entrades, esperat);
    EXPECT_TRUE(pic->isVisible());
    EXPECT_EQ(jugador().media_actual, b);
}

TEST_F(Reproduccio, ASoundAfterAVideoHidesTheBoxAndMissingFilesLeaveNothingOpen) {
    jugar(a);
    reg.entrades.clear();
    jugar(so);
    EXPECT_EQ(reg.entrades, (QStringList{QStringLiteral("close animation [pic]"),
                                         QStringLiteral("close ") + a, QStringLiteral("play ") + so}));
    EXPECT_FALSE(pic->isVisible());
    EXPECT_EQ(jugador().media_actual, so);

    reg.entrades.clear();
    jugar(dir.filePath(QStringLiteral("no_hi_es.wav")));
    EXPECT_EQ(reg.entrades, (QStringList{QStringLiteral("close ") + so, QStringLiteral("play ")}));
    EXPECT_EQ(jugador().media_actual, QString());

    // The empty name only closes what is open: here nothing.
    reg.entrades.clear();
    EXPECT_EQ(reproduir_so(QString()), QString());
    EXPECT_EQ(reg.entrades, QStringList{QStringLiteral("play ")});
}

TEST_F(Reproduccio, PathsWithBlanksAndOtherLetterCaseReachTheInterpreterWhole) {
    jugar(dir.filePath(QStringLiteral("AMB ESPAIS/Un So.WAV")));
    EXPECT_EQ(reg.entrades, QStringList{QStringLiteral("play ") + espais});
    EXPECT_EQ(jugador().media_actual, espais);
    EXPECT_EQ(pf::analitzar_ordre_mci(reg.entrades.value(0)).nom, espais);
}

TEST_F(Reproduccio, AVideoThatFailsToOpenDoesNotLeaveTheBoxOverTheWindow) {
    mci->falla_obrir = true;
    jugar(a);
    EXPECT_FALSE(pic->isVisible());
    EXPECT_EQ(reg.entrades, QStringList{obrir_avi(a)});
    EXPECT_EQ(jugador().media_actual, a); // closed (quietly) by the next playback

    // Opened, but the file turns out to be unreadable while it loads.
    mci->falla_obrir = false;
    jugar(b);
    ASSERT_TRUE(pic->isVisible());
    ASSERT_EQ(mci->fallades, QStringList{QStringLiteral("animation")});
    mci->avis();
    EXPECT_FALSE(pic->isVisible());

    // A late notice for a video already replaced leaves the new one alone.
    jugar(a);
    auto vell = mci->avis;
    mci->fallades.clear();
    jugar(b);
    ASSERT_TRUE(pic->isVisible());
    vell();
    EXPECT_TRUE(pic->isVisible());
}

TEST_F(Reproduccio, RecognitionAndCaptureOfAnExercisePauseAroundTheSwitchAndRunOn) {
    EstatDispositius& d = dispositius();
    // Capture already started once: the engine version is known.
    d.veu_activa = -2;
    d.nivell_so_actiu = -2;
    d.versio_motor_veu = 90;
    d.procOld_so = 77;
    jugar(so);
    EXPECT_EQ(reg.entrades, (QStringList{QStringLiteral("PararReconeixement"),
                                         QStringLiteral("FinalitzarCapturaNivellDeSo"),
                                         QStringLiteral("play ") + so, QStringLiteral("IniciarReconeixement"),
                                         QStringLiteral("IniciarCapturaNivellDeSo")}));
    EXPECT_EQ(motor.finestra, pf::registrar_finestra(&finestra));
    EXPECT_EQ(d.veu_activa, -2);
    EXPECT_EQ(d.nivell_so_actiu, -2);

    // Levels go on arriving after the medium started.
    QCoreApplication::sendEvent(&finestra, new pf::MissatgeMotor(0, 42));
    EXPECT_EQ(d.nivell_so, 42);

    // Devices not used by the exercise are left alone.
    reg.entrades.clear();
    d.veu_activa = -1;
    d.nivell_so_actiu = -1;
    jugar(so);
    EXPECT_EQ(reg.entrades, (QStringList{QStringLiteral("close ") + so, QStringLiteral("play ") + so}));
}

TEST_F(Reproduccio, CaptureStartReportsEachRefusalByItsMessage) {
    EstatDispositius& d = dispositius();
    // No engine at all: nothing starts and nothing is recorded.
    pf::posar_motor_veu(nullptr);
    EXPECT_FALSE(pf::motor_veu().present());
    EXPECT_NE(pf::motor_veu().IniciarReconeixement(), 0);
    EXPECT_NE(pf::motor_veu().IniciarCapturaNivellDeSo(1), 0);
    EXPECT_EQ(pf::motor_veu().ObrirFitxer(), 0);
    EXPECT_EQ(so_iniciar_captura(), text_idioma(52));
    EXPECT_EQ(d.versio_motor_veu, 0);
    EXPECT_EQ(d.procOld_so, 0);

    pf::posar_motor_veu(&motor);
    motor.versio = 80;
    EXPECT_EQ(so_iniciar_captura(), text_idioma(51));
    EXPECT_EQ(d.versio_motor_veu, 80);
    EXPECT_NE(d.procOld_so, 0);
    EXPECT_EQ(so_iniciar_captura(), text_idioma(53) + QStringLiteral("procOld_rec = 0"));
    d.procOld_rec = -5;
    EXPECT_EQ(so_iniciar_captura(), text_idioma(53) + QStringLiteral("procOld_rec =-5"));

    reiniciar_estat();
    motor.versio = 95;
    motor.resultat_captura = 3;
    EXPECT_EQ(so_iniciar_captura(), text_idioma(52));
    reiniciar_estat();
    motor.resultat_captura = 0;
    EXPECT_EQ(so_iniciar_captura(), QStringLiteral("ok"));
    EXPECT_EQ(motor.finestra, pf::registrar_finestra(&finestra));

    // The hook keeps the level and the last two, alternately.
    for (int nivell : {10, 20, 30})
        QCoreApplication::sendEvent(&finestra, new pf::MissatgeMotor(0, nivell));
    EXPECT_EQ(d.nivell_so, 30);
    EXPECT_EQ(d.nivells_so[0], 30);
    EXPECT_EQ(d.nivells_so[1], 20);
    EXPECT_EQ(d.nivells_so[10], 1);

    d.nivell_so_actiu = -2;
    so_finalitzar_captura();
    EXPECT_EQ(d.nivell_so_actiu, -1);
    EXPECT_EQ(reg.entrades.last(), QStringLiteral("FinalitzarCapturaNivellDeSo"));

    // Taken off by its token, the hook no longer sees levels.
    EXPECT_FALSE(restaurar_ganxo_so(d.procOld_so + 1));
    EXPECT_TRUE(restaurar_ganxo_so(d.procOld_so));
    QCoreApplication::sendEvent(&finestra, new pf::MissatgeMotor(0, 99));
    EXPECT_EQ(d.nivell_so, 30);
}

// Real playback, where this machine has an audio output (the test script
// starts a null sound server).
class ReproduccioReal : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!pf::hi_ha_sortida_audio()) GTEST_SKIP() << "no audio output (no sound server running)";
        ASSERT_TRUE(dir.isValid());
        reiniciar_estat();
    }
    void TearDown() override {
        pf::mci_qt().enviar(QStringLiteral("close all"));
        reiniciar_estat();
    }
    QTemporaryDir dir;
};

TEST_F(ReproduccioReal, WavAndMidiPlayAndAdpcmPlaysItsFullLength) {
    const QString pcm = dir.filePath(QStringLiteral("to.wav"));
    const QString adpcm = dir.filePath(QStringLiteral("adpcm.wav"));
    const QString mid = dir.filePath(QStringLiteral("escala.mid"));
    ASSERT_TRUE(proves::generar_wav(pcm, 1.0, SF_FORMAT_WAV | SF_FORMAT_PCM_16));
    ASSERT_TRUE(proves::generar_wav(adpcm, 2.0, SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM));
    ASSERT_TRUE(proves::generar_midi(mid, 2));
    pf::MciQt& m = pf::mci_qt();

    for (const QString& f : {pcm, mid}) {
        SCOPED_TRACE(f.toStdString());
        ASSERT_EQ(pf::mciSendString(QStringLiteral("play ") + f), pf::MCI_OK);
        // Without Qt's player, which can deadlock while it opens a file.
        EXPECT_EQ(m.reproductor(f), nullptr);
        EXPECT_TRUE(esperar_fins([&] { return m.posicio(f) > 0; }, 10));
        EXPECT_NEAR(m.durada(f), 1000, 60);
        EXPECT_EQ(pf::mciSendString(QStringLiteral("close ") + f), pf::MCI_OK);
        EXPECT_EQ(m.posicio(f), -1);
    }
    // Through the player's playback, to the end of the medium.
    QString f = adpcm;
    reproduir_media(f);
    EXPECT_EQ(jugador().media_actual, adpcm);
    EXPECT_EQ(m.reproductor(adpcm), nullptr);
    ASSERT_TRUE(esperar_fins([&] { return m.acabat(adpcm); }, 10));
    EXPECT_NEAR(m.durada(adpcm), 2000, 60);
    EXPECT_GE(m.posicio(adpcm), 1900);
    // Played again, from its start.
    ASSERT_EQ(pf::mciSendString(QStringLiteral("play ") + adpcm), pf::MCI_OK);
    EXPECT_FALSE(m.acabat(adpcm));

    // The empty name closes it.
    QString res;
    reproduir_media(res);
    EXPECT_EQ(m.posicio(adpcm), -1);
    EXPECT_EQ(jugador().media_actual, QString());
}

TEST(VideoMci, OpenPutPlayCloseDriveAVideoInsideItsParent) {
    QTemporaryDir dir;
    const QString f = dir.filePath(QStringLiteral("v.avi"));
    ASSERT_TRUE(proves::generar_wav(f, 0.2, SF_FORMAT_WAV | SF_FORMAT_PCM_16));
    QWidget pare;
    pare.resize(300, 200);
    pare.show();
    pf::MciQt m;
    // Whatever this machine has: the video opens with or without sound.
    m.posar_comprovacio_sortida([] { return false; });
    const int32_t h = pf::registrar_finestra(&pare);
    EXPECT_EQ(
        m.enviar(
            QStringLiteral("open %1 type AVIVideo alias animation parent %2 style 1073741824").arg(f).arg(h)),
        pf::MCI_OK);
    QVideoWidget* v = m.video(QStringLiteral("ANIMATION"));
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->parentWidget(), &pare);
    EXPECT_FALSE(v->isVisible());
    EXPECT_EQ(m.enviar(QStringLiteral("put animation window at 1 1 298 198")), pf::MCI_OK);
    EXPECT_EQ(v->geometry(), QRect(1, 1, 298, 198));
    EXPECT_EQ(m.enviar(QStringLiteral("play animation")), pf::MCI_OK);
    EXPECT_TRUE(v->isVisible());
    // One medium per alias: a second open replaces the first.
    EXPECT_EQ(m.enviar(QStringLiteral("open %1 alias animation parent %2").arg(f).arg(h)), pf::MCI_OK);
    EXPECT_EQ(m.oberts(), 1);
    EXPECT_EQ(pare.findChildren<QVideoWidget*>().size(), 1);
    EXPECT_EQ(m.enviar(QStringLiteral("close animation")), pf::MCI_OK);
    EXPECT_EQ(m.oberts(), 0);
    EXPECT_TRUE(pare.findChildren<QVideoWidget*>().isEmpty());

    // A parent that does not exist, or a file that does not: nothing opens.
    EXPECT_NE(m.enviar(QStringLiteral("open %1 alias animation parent 7").arg(f)), pf::MCI_OK);
    EXPECT_NE(m.enviar(QStringLiteral("open %1/cap.avi alias animation parent %2").arg(dir.path()).arg(h)),
              pf::MCI_OK);
    EXPECT_NE(m.enviar(QStringLiteral("put animation window at 0 0 1 1")), pf::MCI_OK);
    EXPECT_EQ(m.oberts(), 0);
}

TEST(SenseSortida, ASoundWithNowhereToGoIsRefusedAndNothingStaysOpen) {
    QTemporaryDir dir;
    const QString f = dir.filePath(QStringLiteral("so.wav"));
    ASSERT_TRUE(proves::generar_wav(f, 0.2, SF_FORMAT_WAV | SF_FORMAT_PCM_16));
    pf::MciQt m;
    m.posar_comprovacio_sortida([] { return false; });
    EXPECT_EQ(m.enviar(QStringLiteral("play ") + f), pf::MCIERR_SENSE_SORTIDA);
    EXPECT_EQ(m.oberts(), 0);
    EXPECT_EQ(m.reproductor(f), nullptr);
}

// Run in a child process whose sound server does not exist.
TEST(SenseSortida, ProcessWithoutASoundServer) {
    if (qEnvironmentVariableIsEmpty("LUMI_PROVA_SENSE_SO"))
        GTEST_SKIP() << "runs inside the child process only";
    QTemporaryDir dir;
    const QString wav = dir.filePath(QStringLiteral("so.wav"));
    const QString mid = dir.filePath(QStringLiteral("so.mid"));
    ASSERT_TRUE(proves::generar_wav(wav, 0.5, SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM));
    ASSERT_TRUE(proves::generar_midi(mid, 1));
    EXPECT_FALSE(pf::hi_ha_sortida_audio());
    EXPECT_EQ(pf::mciSendString(QStringLiteral("play ") + wav), pf::MCIERR_SENSE_SORTIDA);
    QWidget pic;
    finestra_video() = [&pic] { return &pic; };
    for (QString f : {wav, mid, wav}) {
        reproduir_media(f);
        EXPECT_EQ(jugador().media_actual, f);
        EXPECT_EQ(pf::mci_qt().oberts(), 0);
    }
    finestra_video() = {};
}

TEST(SenseSortida, NoSoundServerPlaysNothingQuietly) {
    if (!qEnvironmentVariableIsEmpty("LUMI_PROVA_SENSE_SO")) GTEST_SKIP() << "this is the child process";
    QProcess fill;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LUMI_PROVA_SENSE_SO"), QStringLiteral("1"));
    env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:/nonexistent/lumiraga-pulse"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    fill.setProcessEnvironment(env);
    fill.setProcessChannelMode(QProcess::MergedChannels);
    fill.start(QCoreApplication::applicationFilePath(),
               {QStringLiteral("--gtest_filter=SenseSortida.ProcessWithoutASoundServer")});
    ASSERT_TRUE(fill.waitForStarted(10000));
    // A guard against a hang, not a speed measure.
    const bool acabat = fill.waitForFinished(60000);
    if (!acabat) fill.kill();
    const QString sortida = QString::fromLocal8Bit(fill.readAll());
    ASSERT_TRUE(acabat) << sortida.toStdString();
    EXPECT_EQ(fill.exitStatus(), QProcess::NormalExit) << sortida.toStdString();
    EXPECT_EQ(fill.exitCode(), 0) << sortida.toStdString();
    EXPECT_TRUE(sortida.contains(QStringLiteral("[  PASSED  ] 1 test"))) << sortida.toStdString();
}
