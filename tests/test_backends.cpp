#include "core/activitat.h"
#include "platform/backends.h"
#include "platform/camera_sintetica.h"
#include "platform/finestres.h"
#include "generar_media.h"
#include "platform/joystick_sintetic.h"
#include "platform/media_sintetic.h"
#include "platform/microfon_sintetic.h"
#include "devices/modul_joystic.h"
#include "platform/motor_veu_sintetic.h"
#include "platform/processos_sintetic.h"
#include "comuns/programes.h"
#include "platform/rellotge_sintetic.h"
#include "platform/seguidor_sintetic.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <set>

using namespace lumi;
namespace pf = lumi::plataforma;

namespace {

// Whether the service's back end in use is the synthetic one.
struct Triats {
    bool media = dynamic_cast<pf::MciSintetic*>(&pf::mci()) != nullptr;
    bool joystick = dynamic_cast<pf::JoystickSintetic*>(&pf::joystick()) != nullptr;
    bool veu = dynamic_cast<pf::MotorVeuSintetic*>(&pf::motor_veu()) != nullptr;
    bool microfon = dynamic_cast<pf::MicrofonSintetic*>(&pf::microfon()) != nullptr;
    bool camera = dynamic_cast<pf::CameraSintetica*>(&pf::camera()) != nullptr;
    bool seguidor = dynamic_cast<pf::SeguidorSintetic*>(&pf::seguidor_color()) != nullptr;
    bool processos = dynamic_cast<pf::ProcessosSintetic*>(&pf::processos()) != nullptr;
    bool rellotge = dynamic_cast<pf::RellotgeSintetic*>(&pf::rellotge()) != nullptr;
    bool atzar = dynamic_cast<pf::AtzarSintetic*>(&pf::atzar()) != nullptr;
    QString text() const {
        QStringList l;
        const std::pair<const char*, bool> tots[] = {
            {"media", media},         {"joystick", joystick}, {"veu", veu},
            {"microfon", microfon},   {"camera", camera},     {"seguidor", seguidor},
            {"processos", processos}, {"rellotge", rellotge}, {"atzar", atzar}};
        for (const auto& [nom, sintetic] : tots)
            if (sintetic) l << QLatin1String(nom);
        return l.join(u',');
    }
};

QString triats() {
    return Triats{}.text();
}

const QString TOTS = QStringLiteral("media,joystick,veu,microfon,camera,seguidor,processos,rellotge,atzar");

// Every test leaves the machine's back ends in place.
struct Backends : ::testing::Test {
    QTemporaryDir dir;
    void TearDown() override { pf::triar_backends({}); }
    pf::RellotgeSintetic& rellotge() { return dynamic_cast<pf::RellotgeSintetic&>(pf::rellotge()); }
    QString escriure(const QString& nom, const QByteArray& text) {
        QFile f(dir.filePath(nom));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return f.fileName();
    }
    // Moves the synthetic clock to `t` seconds after `inici`.
    void a(double inici, double t) { rellotge().avancar(inici + t - rellotge().t); }
};

// The window the engine reports to, keeping what it was sent.
struct FinestraMotor : QWidget {
    std::vector<std::pair<int32_t, int32_t>> missatges;
    bool event(QEvent* e) override {
        if (e->type() != pf::MissatgeMotor::tipus()) return QWidget::event(e);
        auto* m = static_cast<pf::MissatgeMotor*>(e);
        missatges.emplace_back(m->wParam, m->lParam);
        return true;
    }
    // What arrived, each message once: the engine's own timer may have sent
    // a level again between two beats of a test.
    std::set<std::pair<int32_t, int32_t>> rebuts() {
        QCoreApplication::processEvents();
        const auto m = std::exchange(missatges, {});
        return {m.begin(), m.end()};
    }
};

using Missatges = std::set<std::pair<int32_t, int32_t>>;

} // namespace

TEST_F(Backends, ChosenAsAWholeAndPerServiceInOrder) {
    EXPECT_EQ(triats(), QString());
    EXPECT_TRUE(pf::triar_backends(QStringLiteral("sintetic")).isEmpty());
    EXPECT_EQ(triats(), TOTS);
    // Later entries overrule earlier ones; blanks and letter case do not matter.
    EXPECT_TRUE(pf::triar_backends(QStringLiteral("sintetic, media:real ,Camera : REAL")).isEmpty());
    EXPECT_EQ(triats(), QStringLiteral("joystick,veu,microfon,seguidor,processos,rellotge,atzar"));
    EXPECT_EQ(&pf::mci(), &pf::mci_qt());
    EXPECT_FALSE(pf::camera().obrir());
    EXPECT_TRUE(pf::triar_backends(QStringLiteral("camera:sintetic,microfon:sintetic")).isEmpty());
    EXPECT_EQ(triats(), QStringLiteral("microfon,camera"));
    EXPECT_TRUE(pf::triar_backends(QStringLiteral("sintetic,real")).isEmpty());
    EXPECT_EQ(triats(), QString());

    // What is not understood is told on stderr and changes nothing else.
    testing::internal::CaptureStderr();
    const QStringList queixes = pf::triar_backends(
        QStringLiteral("pantalla:sintetic,camera:fals,joystick:sintetic,rellotge:sintetic"),
        QStringLiteral("camera:falla,joystick:vola,xx:falla,joystick:desapareix@2.5,rellotge:pas=-1,"
                       "joystick:guio=/no/hi/es"));
    const QString err = QString::fromStdString(testing::internal::GetCapturedStderr());
    EXPECT_EQ(triats(), QStringLiteral("joystick,rellotge"));
    ASSERT_EQ(queixes.size(), 7) << queixes.join(u'\n').toStdString();
    for (const char* culpable : {"\"pantalla\"", "camera:fals", "camera:falla", "joystick:vola", "xx:falla",
                                 "rellotge:pas=-1", "joystick:guio=/no/hi/es"}) {
        EXPECT_EQ(queixes.filter(QLatin1String(culpable)).size(), 1) << culpable;
        EXPECT_TRUE(err.contains(QLatin1String(culpable))) << culpable;
    }
    EXPECT_EQ(dynamic_cast<pf::JoystickSintetic&>(pf::joystick()).desapareix_als, 2.5);
    EXPECT_EQ(rellotge().pas, 0.01);
}

TEST_F(Backends, TheEnvironmentChoosesAtStartUp) {
    qputenv("LUMIRAGA_BACKENDS", "rellotge:sintetic,atzar:sintetic,camera:sintetic");
    qputenv("LUMIRAGA_SINTETIC", "rellotge:pas=0.5,atzar:valors=0.25;0.75,camera:falla");
    pf::triar_backends_entorn();
    qunsetenv("LUMIRAGA_BACKENDS");
    qunsetenv("LUMIRAGA_SINTETIC");
    EXPECT_EQ(triats(), QStringLiteral("camera,rellotge,atzar"));
    const double t = pf::rellotge().monotonic();
    EXPECT_EQ(pf::rellotge().monotonic(), t + 0.5);
    EXPECT_EQ(pf::rellotge().segons_dia(), 36000.25 + 2 * 0.5);
    std::vector<float> v;
    for (int i = 0; i < 3; ++i)
        v.push_back(pf::atzar().seguent());
    EXPECT_EQ(v, (std::vector<float>{0.25f, 0.75f, 0.25f}));
    EXPECT_FALSE(pf::camera().obrir());
    // Neither variable: the choice made stays.
    pf::triar_backends_entorn();
    EXPECT_EQ(triats(), QStringLiteral("camera,rellotge,atzar"));
}

TEST_F(Backends, TheTrackerFindsTheDiscWhereThePathPutsIt) {
    ASSERT_TRUE(pf::triar_backends(QStringLiteral("sintetic"),
                                   QStringLiteral("rellotge:pas=0,camera:cami=0 100 100;2 500 100;4 500 400"))
                    .isEmpty());
    pf::SeguidorColor& s = pf::seguidor_color();
    EXPECT_FALSE(s.posicio().trobat);
    ASSERT_TRUE(s.iniciar(1));
    EXPECT_TRUE(pf::camera().oberta());
    const double inici = rellotge().t;
    struct Cas {
        double t;
        int h, v;
    };
    // The path loops: 5 s is 1 s again.
    for (const Cas& c :
         {Cas{0, 100, 100}, Cas{1, 300, 100}, Cas{3, 500, 250}, Cas{4, 500, 400}, Cas{5, 300, 100}}) {
        SCOPED_TRACE(c.t);
        a(inici, c.t);
        const QImage im = pf::camera().fotograma();
        ASSERT_EQ(im.size(), QSize(640, 480));
        EXPECT_EQ(im.pixelColor(c.h, c.v), QColor(255, 0, 0));
        EXPECT_NE(im.pixelColor(c.h + 30, c.v), QColor(255, 0, 0));
        const pf::PosicioColor p = s.posicio();
        EXPECT_TRUE(p.trobat);
        EXPECT_EQ(p.h, c.h);
        EXPECT_EQ(p.v, c.v);
    }

    // The still shows the same frame.
    const QString foto = dir.filePath(QStringLiteral("tmp.bmp"));
    ASSERT_TRUE(pf::desar_fotografia(pf::camera(), foto));
    const QImage llegida(foto);
    ASSERT_EQ(llegida.size(), QSize(640, 480));
    EXPECT_EQ(llegida.pixelColor(300, 100), QColor(255, 0, 0));
    pf::AnalitzadorColor analitzador;
    EXPECT_EQ(analitzador.analitzar(llegida, s.parametres()).h, s.posicio().h);

    // Another colour is nowhere; stopping frees the camera.
    const pf::ParametresColor vermell = s.parametres();
    pf::ParametresColor verd = vermell;
    verd.to = 120;
    s.posar_parametres(verd);
    EXPECT_FALSE(s.posicio().trobat);
    s.posar_parametres(vermell);
    s.finalitzar();
    EXPECT_FALSE(pf::camera().oberta());
    EXPECT_TRUE(pf::camera().fotograma().isNull());
    EXPECT_FALSE(s.posicio().trobat);
    EXPECT_FALSE(pf::desar_fotografia(pf::camera(), foto));
}

TEST_F(Backends, DevicesFailToOpenOrGoAwayMidRun) {
    ASSERT_TRUE(pf::triar_backends(QStringLiteral("sintetic"),
                                   QStringLiteral("rellotge:pas=0,camera:desapareix@2.5,microfon:falla,"
                                                  "joystick:desapareix@1"))
                    .isEmpty());
    // The microphone never opens, so the engine captures nothing.
    EXPECT_FALSE(pf::microfon().obrir());
    EXPECT_NE(pf::motor_veu().IniciarCapturaNivellDeSo(1), 0);

    // The camera goes 2.5 s after it opened, and the tracker with it; gone
    // is gone, until it is plugged in again.
    pf::SeguidorColor& s = pf::seguidor_color();
    ASSERT_TRUE(s.iniciar(0));
    const double inici = rellotge().t;
    a(inici, 2.4);
    EXPECT_TRUE(s.posicio().trobat);
    a(inici, 2.5);
    EXPECT_FALSE(s.posicio().trobat);
    EXPECT_FALSE(pf::camera().oberta());
    EXPECT_TRUE(pf::camera().fotograma().isNull());
    s.finalitzar();
    EXPECT_FALSE(s.iniciar(0));
    auto& cam = dynamic_cast<pf::CameraSintetica&>(pf::camera());
    cam.tornar();
    cam.desapareix_als = -1;
    ASSERT_TRUE(s.iniciar(0));
    EXPECT_TRUE(s.posicio().trobat);
    // Gone at once by a call; a camera that fails to open leaves the tracker stopped.
    cam.desapareixer();
    EXPECT_FALSE(s.posicio().trobat);
    s.finalitzar();
    cam.tornar();
    cam.falla_obrir = true;
    EXPECT_FALSE(s.iniciar(0));
    cam.falla_obrir = false;
    auto& seg = dynamic_cast<pf::SeguidorSintetic&>(s);
    seg.falla_obrir = true;
    EXPECT_FALSE(s.iniciar(0));
    EXPECT_FALSE(pf::camera().oberta());

    // The joystick's time starts at its first reading.
    JOYINFO j;
    a(inici, 10);
    EXPECT_EQ(pf::joystick().joyGetPos(0, j), 0);
    EXPECT_NE(pf::joystick().joyGetPos(1, j), 0);
    a(inici, 10.9);
    EXPECT_EQ(pf::joystick().joyGetPos(0, j), 0);
    a(inici, 11);
    EXPECT_NE(pf::joystick().joyGetPos(0, j), 0);
    EXPECT_NE(pf::joystick().joyGetPos(0, j), 0);
}

TEST_F(Backends, TheJoystickFollowsItsScript) {
    const QString guio =
        escriure(QStringLiteral("joystick.txt"),
                 "# temps x y botons\n\n0 0 0 -\n1.5 1 0 -   # right\n2 1 0 13\n2.5 -0.5 -1 2\n3 0 1 -\n");
    ASSERT_TRUE(pf::triar_backends(QStringLiteral("joystick:sintetic,rellotge:sintetic"),
                                   QStringLiteral("rellotge:pas=0,joystick:guio=") + guio)
                    .isEmpty());
    // As the player sees it: found at rest, then each line in turn.
    dispositius() = EstatDispositius{};
    ASSERT_TRUE(joystick_provar(0));
    EXPECT_EQ(dispositius().joy_centre.wXpos, 32768);
    EXPECT_EQ(dispositius().joy_centre.wYpos, 32768);
    const double inici = rellotge().t;
    QStringList vist;
    JOYINFO j;
    for (double t : {0.5, 1.5, 1.9, 2.0, 2.5, 3.0, 60.0}) {
        a(inici, t);
        vist << joystick_llegir();
        if (t == 2.5) {
            ASSERT_EQ(pf::joystick().joyGetPos(0, j), 0);
            EXPECT_EQ(j.wXpos, 16384);
            EXPECT_EQ(j.wYpos, 0);
            EXPECT_EQ(j.wButtons, 2);
        }
    }
    EXPECT_EQ(vist, (QStringList{"", "D", "D", "D13", "EA2", "R", "R"}));
    ASSERT_EQ(pf::joystick().joyGetPos(0, j), 0);
    EXPECT_EQ(j.wXpos, 32768);
    EXPECT_EQ(j.wYpos, 65535);
    EXPECT_EQ(j.wButtons, 0);
    dispositius() = EstatDispositius{};

    // A script that is not one says where.
    std::vector<pf::PasJoystick> g;
    QString error;
    for (const char* dolent : {"0 0 0 -\n1 2 0 -", "0 0 0 -\n# c\n1 0 0 5", "1 0 0 -\n0.5 0 0 -", "0 0 0"}) {
        SCOPED_TRACE(dolent);
        EXPECT_FALSE(pf::llegir_guio_joystick(QString::fromLatin1(dolent), g, &error));
    }
    EXPECT_TRUE(error.startsWith(QStringLiteral("line 1:")));
    EXPECT_FALSE(pf::llegir_guio_joystick(QStringLiteral("0 0 0 -\n# c\n1 0 0 5"), g, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("line 3:"))) << error.toStdString();
}

TEST_F(Backends, TheMicrophonePlaysAWavAndTheEngineReportsItsLevels) {
    const QString wav = dir.filePath(QStringLiteral("so.wav"));
    ASSERT_TRUE(proves::generar_wav(wav, 1.0, SF_FORMAT_WAV | SF_FORMAT_PCM_16));
    ASSERT_TRUE(
        pf::triar_backends(QStringLiteral("sintetic"),
                           QStringLiteral("rellotge:pas=0,veu:paraules=2@0.5;3@1;4@2,microfon:wav=") + wav)
            .isEmpty());

    // The samples come as the file has them, as time goes by.
    pf::Microfon& m = pf::microfon();
    ASSERT_TRUE(m.obrir());
    const double inici = rellotge().t;
    a(inici, 0.125);
    const std::vector<int16_t> primeres = m.llegir();
    ASSERT_EQ(primeres.size(), 2756u);
    a(inici, 0.25);
    const std::vector<int16_t> segones = m.llegir();
    ASSERT_EQ(segones.size(), 2756u);
    std::vector<int16_t> fitxer(5512);
    SF_INFO info{};
    SNDFILE* sf = sf_open(QFile::encodeName(wav).constData(), SFM_READ, &info);
    ASSERT_NE(sf, nullptr);
    sf_read_short(sf, fitxer.data(), 5512);
    sf_close(sf);
    EXPECT_TRUE(std::equal(primeres.begin(), primeres.end(), fitxer.begin()));
    EXPECT_TRUE(std::equal(segones.begin(), segones.end(), fitxer.begin() + 2756));
    // A tone of amplitude 8000 is level 31; full scale is 128.
    EXPECT_EQ(m.nivell(), 31);
    const int16_t plena[] = {0, -32768, 32767};
    EXPECT_EQ(pf::nivell_so(plena, 3), 128);
    EXPECT_EQ(pf::nivell_so(plena + 2, 1), 127);
    m.tancar();
    EXPECT_EQ(m.nivell(), 0);
    EXPECT_TRUE(m.llegir().empty());
    // Opened again, it hears the file from its start.
    ASSERT_TRUE(m.obrir());
    a(rellotge().t, 0.125);
    const std::vector<int16_t> altra = m.llegir();
    EXPECT_EQ(altra, primeres);
    m.tancar();

    // The engine captures from the microphone and posts its level.
    FinestraMotor w;
    const int32_t h = pf::registrar_finestra(&w);
    auto& motor = dynamic_cast<pf::MotorVeuSintetic&>(pf::motor_veu());
    ASSERT_EQ(motor.IniciarCapturaNivellDeSo(h), 0);
    const double inici_captura = rellotge().t;
    a(inici_captura, 0.5);
    motor.bategar();
    EXPECT_EQ(w.rebuts(), (Missatges{{0, 31}}));
    a(inici_captura, 1.2);
    motor.bategar();
    EXPECT_EQ(w.rebuts(), (Missatges{{0, 0}}));
    // Its own timer beats every 50 ms.
    for (int i = 0; i < 100 && w.missatges.empty(); ++i)
        QTest::qWait(10);
    EXPECT_EQ(w.rebuts(), (Missatges{{0, 0}}));
    motor.FinalitzarCapturaNivellDeSo();
    EXPECT_FALSE(m.obert());
    motor.bategar();
    EXPECT_TRUE(w.rebuts().empty());

    // A unit says it is ready, then the scripted words; a paused one hears nothing.
    QString llista = QStringLiteral("A,E,I,O");
    ASSERT_EQ(motor.IniciarUnitReconeixementDeSonsSenseQuadreInicial(h, 4, llista), 0);
    EXPECT_EQ(w.rebuts(), (Missatges{{-1, 0}}));
    const double inici_unitat = rellotge().t;
    a(inici_unitat, 0.6);
    motor.bategar();
    EXPECT_EQ(w.rebuts(), (Missatges{{2, 0}}));
    motor.PararReconeixement();
    a(inici_unitat, 1.5);
    motor.bategar();
    EXPECT_TRUE(w.rebuts().empty());
    EXPECT_EQ(motor.IniciarReconeixement(), 0);
    a(inici_unitat, 2.0);
    motor.bategar();
    EXPECT_EQ(w.rebuts(), (Missatges{{4, 0}}));

    // A microphone that goes away mid-capture leaves the window without levels.
    auto& mic = dynamic_cast<pf::MicrofonSintetic&>(m);
    ASSERT_EQ(motor.IniciarCapturaNivellDeSo(h), 0);
    motor.bategar();
    EXPECT_EQ(w.rebuts(), (Missatges{{0, 0}}));
    mic.desapareixer();
    motor.bategar();
    EXPECT_TRUE(w.rebuts().empty());
    motor.FinalitzarCapturaNivellDeSo();
}

TEST_F(Backends, LaunchesAreRecordedAndRunNothing) {
    // Large clock steps: the second a launch is given passes at once.
    ASSERT_TRUE(pf::triar_backends(QStringLiteral("processos:sintetic,rellotge:sintetic"),
                                   QStringLiteral("rellotge:pas=0.25"))
                    .isEmpty());
    // A Windows program, the one kind a launch may start: it is recorded, and
    // neither it nor wine runs.
    const QString marca = dir.filePath(QStringLiteral("ha_corregut"));
    const QString script =
        escriure(QStringLiteral("joc.exe"), "MZ\ntouch \"" + QFile::encodeName(marca) + "\"\n");
    QFile(script).setPermissions(QFile(script).permissions() | QFileDevice::ExeOwner);

    const Llancament l = executar_programa(script, 1);
    ASSERT_EQ(l.error, 0);
    ASSERT_NE(l.finestra, 0);
    EXPECT_TRUE(pf::proces_viu(l.finestra));
    auto& p = dynamic_cast<pf::ProcessosSintetic&>(pf::processos());
    ASSERT_EQ(p.llancaments.size(), 1u);
    EXPECT_EQ(p.llancaments[0].handle, l.finestra);
    EXPECT_EQ(p.llancaments[0].programa, QFileInfo(script).absoluteFilePath());
    EXPECT_EQ(p.llancaments[0].carpeta, QFileInfo(script).absolutePath());
    tancar_finestra(l.finestra);
    tancar_finestra(l.finestra);
    EXPECT_FALSE(pf::proces_viu(l.finestra));
    EXPECT_EQ(p.acabats, std::vector<int32_t>{l.finestra});
    EXPECT_FALSE(QFileInfo::exists(marca));

    // Handles are never reused; a missing file or a failing launcher starts nothing.
    const int32_t h2 = pf::llancar_proces(QStringLiteral("/bin/true"), {QStringLiteral("x")}, {});
    EXPECT_GT(h2, l.finestra);
    EXPECT_EQ(p.llancaments.back().arguments, QStringList{QStringLiteral("x")});
    EXPECT_EQ(pf::obrir_fitxer(dir.filePath(QStringLiteral("no_hi_es.txt")), {}), 0);
    p.falla = true;
    EXPECT_EQ(executar_programa(script, 1).finestra, 0);
    EXPECT_EQ(p.llancaments.size(), 2u);
}

TEST_F(Backends, TheSceneCanHoldALitScreenUnderTheDisc) {
    EXPECT_FALSE(pf::triar_backends(QStringLiteral("sintetic"), QStringLiteral("camera:pantalla=1 2;3 4;5 6"))
                     .isEmpty());
    EXPECT_FALSE(
        pf::triar_backends(QStringLiteral("sintetic"), QStringLiteral("camera:pantalla=1 2;3 4;5 6;7 x"))
            .isEmpty());
    ASSERT_TRUE(pf::triar_backends(
                    QStringLiteral("sintetic"),
                    QStringLiteral("camera:pantalla=100 50;540 60;600 430;40 420,camera:cami=0 320 240"))
                    .isEmpty());
    ASSERT_TRUE(pf::camera().obrir());
    const QImage im = pf::camera().fotograma();
    const QColor llum(225, 225, 215);
    EXPECT_EQ(im.pixelColor(120, 70), llum);
    EXPECT_EQ(im.pixelColor(320, 240), QColor(255, 0, 0));
    EXPECT_NE(im.pixelColor(90, 40), llum);
    EXPECT_NE(im.pixelColor(620, 460), llum);
    pf::camera().tancar();
}
