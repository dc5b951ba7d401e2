#include "core/activitat.h"
#include "devices/mvfw.h"
#include "devices/ombra_visor.h"
#include "devices/omvis.h"
#include "devices/registre.h"
#include "platform/camera_sintetica.h"
#include "platform/carpetes.h"
#include "platform/finestres.h"
#include "platform/rellotge.h"
#include "platform/rellotge_sintetic.h"
#include "platform/seguidor_color.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QTimer>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <cmath>

using namespace lumi;
namespace pf = lumi::plataforma;

namespace {

// The synthetic camera in place, with a scripted clock, in a program folder
// of its own.
class Webcam : public ::testing::Test {
  protected:
    void SetUp() override {
        abans = qgetenv("LUMIRAGA_HOME");
        qputenv("LUMIRAGA_HOME", dir.path().toLocal8Bit());
        dispositius() = EstatDispositius{};
        pf::posar_rellotge(&rellotge);
        pf::posar_camera(&cam);
        // A disc that stays where the test puts it.
        cam.cami = {{0, {320, 240}}};
        cam.repetir = false;
    }
    void TearDown() override {
        pf::seguidor_color().finalitzar();
        pf::posar_camera(nullptr);
        pf::posar_rellotge(nullptr);
        qputenv("LUMIRAGA_HOME", abans);
        dispositius() = EstatDispositius{};
    }
    void posar_disc(double x, double y) { cam.cami = {{0, {x, y}}}; }
    // The realistic scene: a shaded disc with noise, through YUYV, on bands
    // of nearby hues that lie outside the tolerance.
    void escena_realista(QColor disc) {
        cam.realista = true;
        cam.soroll = 6;
        cam.color_disc = disc;
        cam.fons_tons = {QColor::fromHsv(40, 200, 210), QColor::fromHsv(120, 40, 120),
                         QColor::fromHsv(320, 190, 200), QColor(90, 90, 90)};
    }
    pf::PosicioColor analitzar(const pf::ParametresColor& p = {}) {
        return analitzador.analitzar(cam.dibuixar(0), p);
    }

    QTemporaryDir dir;
    QByteArray abans;
    pf::RellotgeSintetic rellotge;
    pf::CameraSintetica cam;
    pf::AnalitzadorColor analitzador;
};

// The exact centre of the pixels of `color` in a frame.
QPointF centre_pintat(const QImage& im, QColor color) {
    double sx = 0, sy = 0, n = 0;
    for (int y = 0; y < im.height(); ++y)
        for (int x = 0; x < im.width(); ++x)
            if (im.pixel(x, y) == color.rgb()) {
                sx += x + 0.5;
                sy += y + 0.5;
                ++n;
            }
    return {sx / n, sy / n};
}

} // namespace

// ---------------------------------------------------------- the tracker

TEST_F(Webcam, AShadedNoisyDiscAmongNearbyHuesIsFoundWithinAPixel) {
    escena_realista(QColor::fromHsv(0, 220, 230));
    for (QPointF c : {QPointF(300.5, 200.25), QPointF(100.3, 380.8), QPointF(520, 90)}) {
        SCOPED_TRACE(QStringLiteral("%1,%2").arg(c.x()).arg(c.y()).toStdString());
        posar_disc(c.x(), c.y());
        const pf::PosicioColor p = analitzar();
        ASSERT_TRUE(p.trobat);
        EXPECT_LE(std::abs(p.h - c.x()), 1.0);
        EXPECT_LE(std::abs(p.v - c.y()), 1.0);
    }
    // The disc gone, the background's own hues are nothing.
    cam.disc_visible = false;
    EXPECT_FALSE(analitzar().trobat);
}

TEST_F(Webcam, RedIsFoundAcrossTheHueWrap) {
    escena_realista(QColor::fromHsv(358, 220, 230)); // noise spreads it from about 350 to 10
    posar_disc(400, 300);
    pf::ParametresColor p;
    p.to = 5;
    p.tolerancia_to = 15;
    const pf::PosicioColor r = analitzar(p);
    ASSERT_TRUE(r.trobat);
    EXPECT_LE(std::abs(r.h - 400), 1);
    EXPECT_LE(std::abs(r.v - 300), 1);
    p.to = 355;
    EXPECT_TRUE(analitzar(p).trobat);
}

TEST_F(Webcam, BlobsTooSmallTheLargerOfTwoAndADiscCutByTheEdge) {
    escena_realista(QColor::fromHsv(0, 220, 230));
    cam.radi = 3;
    posar_disc(200, 200);
    EXPECT_FALSE(analitzar().trobat);

    cam.radi = 30;
    posar_disc(450, 320);
    cam.altres_discs = {{QPointF(120, 120), 18, QColor::fromHsv(0, 220, 230)}};
    pf::PosicioColor p = analitzar();
    ASSERT_TRUE(p.trobat);
    EXPECT_LE(std::abs(p.h - 450), 1);
    EXPECT_LE(std::abs(p.v - 320), 1);
    cam.radi = 10;
    p = analitzar();
    EXPECT_LE(std::abs(p.h - 120), 1);

    // Cut by the right edge: the centre of what shows.
    cam.altres_discs.clear();
    cam.realista = false;
    cam.radi = 30;
    posar_disc(630, 240);
    const QPointF vist = centre_pintat(cam.dibuixar(0), cam.color_disc);
    p = analitzar();
    ASSERT_TRUE(p.trobat);
    EXPECT_LE(std::abs(p.h - vist.x()), 1.0);
    EXPECT_LE(std::abs(p.v - vist.y()), 1.0);
    EXPECT_LT(vist.x(), 625);

    // Out of the frame altogether.
    posar_disc(-100, 240);
    EXPECT_FALSE(analitzar().trobat);
}

TEST_F(Webcam, TheTrackerFollowsTheCameraOnItsThreadAndLosesItWhenItGoes) {
    pf::posar_rellotge(nullptr); // ages are real time here
    escena_realista(QColor::fromHsv(0, 220, 230));
    posar_disc(250, 150);
    pf::SeguidorColor& s = pf::seguidor_color();
    EXPECT_FALSE(s.posicio().trobat);
    ASSERT_EQ(omvis_iniciar(1), 1);
    EXPECT_EQ(pf::reserves_camera(), 1);
    QElapsedTimer t;
    t.start();
    int16_t v = 0, h = 0;
    while (OVSObtenirPosicio(v, h) != 1 && t.elapsed() < 2000)
        pf::esperar(0.01);
    ASSERT_EQ(OVSObtenirPosicio(v, h), 1);
    EXPECT_LE(std::abs(h - 250), 1);
    EXPECT_LE(std::abs(v - 150), 1);

    // Unplugged: "not found" once its last frame is 300 ms old.
    cam.desapareixer();
    pf::esperar(0.35);
    EXPECT_EQ(OVSObtenirPosicio(v, h), 0);
    OVSFinalitza();
    EXPECT_EQ(pf::reserves_camera(), 0);
    EXPECT_FALSE(cam.oberta());

    // Back, started again, then stopped: nothing after the stop.
    cam.tornar();
    ASSERT_EQ(OVSInicialitza(0), 1);
    t.restart();
    while (OVSObtenirPosicio(v, h) != 1 && t.elapsed() < 2000)
        pf::esperar(0.01);
    EXPECT_EQ(OVSObtenirPosicio(v, h), 1);
    OVSFinalitza();
    EXPECT_EQ(OVSObtenirPosicio(v, h), 0);
}

TEST_F(Webcam, AStartWithoutCameraFailsAtOnceAndStaysFailed) {
    cam.falla_obrir = true;
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(omvis_iniciar(0), 0);
    EXPECT_LT(t.elapsed(), 2000);
    EXPECT_EQ(dispositius().omvis_estat, 1);
    // Camera back: a failed start is not tried again in this run.
    cam.falla_obrir = false;
    EXPECT_EQ(omvis_iniciar(0), 0);
    EXPECT_EQ(cam.obertures, 0);
    EXPECT_EQ(dispositius().omvis_estat, 1);
}

// ------------------------------------------------------ capture window

TEST_F(Webcam, TheDriverLoopReusesItsWindowAndTriesOnlyDevicesZeroToEight) {
    QWidget pare;
    const int32_t h = pf::registrar_finestra(&pare);
    auto vistes = [&] { return pare.findChildren<QLabel*>(QStringLiteral("captura")).size(); };
    cam.dispositius = {{QStringLiteral("ocupada"), false, true},
                       {QStringLiteral("muda"), true, false},
                       {QStringLiteral("bona"), true, true}};
    EXPECT_EQ(captura_obrir(h), 1);
    EXPECT_EQ(cam.dispositiu_obert, 2);
    EXPECT_EQ(vistes(), 1);
    const int32_t hwnd = dispositius().captura_hwnd;
    EXPECT_NE(hwnd, 0);
    // Again without closing: the same window, connected again, one hold.
    EXPECT_EQ(captura_obrir(h), 1);
    EXPECT_EQ(dispositius().captura_hwnd, hwnd);
    EXPECT_EQ(vistes(), 1);
    EXPECT_EQ(pf::reserves_camera(), 1);
    captura_tancar();
    EXPECT_EQ(dispositius().captura_hwnd, 0);
    EXPECT_EQ(vistes(), 0);
    EXPECT_EQ(pf::reserves_camera(), 0);
    EXPECT_FALSE(cam.oberta());
    captura_tancar(); // nothing open: harmless
    EXPECT_EQ(dispositius().captura_hwnd, 0);

    // Ten devices, only the tenth works: none found, no window left.
    cam.dispositius.assign(10, {QStringLiteral("ocupada"), false, true});
    cam.dispositius[9].connecta = true;
    EXPECT_EQ(captura_obrir(h), 0);
    EXPECT_EQ(dispositius().captura_hwnd, 0);
    EXPECT_EQ(vistes(), 0);
    EXPECT_EQ(cam.obertures, 2);
}

TEST_F(Webcam, TheStillIsTheSceneAsA640x480BmpAndAFailedOneLeavesNoFile) {
    QWidget pare;
    const int32_t h = pf::registrar_finestra(&pare);
    posar_disc(200, 100);
    ASSERT_TRUE(captura_fotografia(h));
    EXPECT_EQ(fitxer_fotografia(), QDir(dir.path()).filePath(QStringLiteral("tmp.bmp")));
    const QImage foto(fitxer_fotografia(), "BMP");
    ASSERT_EQ(foto.size(), QSize(640, 480));
    EXPECT_EQ(foto.convertToFormat(QImage::Format_RGB32), cam.dibuixar(0));
    EXPECT_EQ(dispositius().captura_hwnd, 0);
    EXPECT_EQ(pf::reserves_camera(), 0);

    // No camera: the earlier still goes rather than pass for this one.
    cam.falla_obrir = true;
    EXPECT_FALSE(captura_fotografia(h));
    EXPECT_FALSE(QFile::exists(fitxer_fotografia()));
    // A camera that connects and is gone when the frame is grabbed.
    cam.falla_obrir = false;
    ASSERT_TRUE(captura_fotografia(h));
    ASSERT_EQ(captura_obrir(h), 1);
    cam.desapareixer();
    EXPECT_FALSE(capGrabFrame(dispositius().captura_hwnd));
    EXPECT_FALSE(capFileSaveDIB(dispositius().captura_hwnd, fitxer_fotografia()));
    EXPECT_FALSE(QFile::exists(fitxer_fotografia()));
    captura_tancar();
    EXPECT_EQ(pf::reserves_camera(), 0);
}

TEST_F(Webcam, ThePreviewShowsTheCameraAndStopsWhenItGoes) {
    QWidget pare;
    ASSERT_EQ(captura_obrir(pf::registrar_finestra(&pare)), 1);
    auto* vista = pare.findChild<QLabel*>(QStringLiteral("captura"));
    ASSERT_NE(vista, nullptr);
    EXPECT_EQ(vista->geometry(), QRect(0, 0, 640, 480));
    ASSERT_FALSE(vista->pixmap().isNull());
    EXPECT_EQ(vista->pixmap().toImage().convertToFormat(QImage::Format_RGB32), cam.dibuixar(0));
    // Unplugged while showing: the picture stops, closing still frees it.
    cam.desapareixer();
    QTest::qWait(200);
    EXPECT_FALSE(vista->pixmap().isNull());
    captura_tancar();
    EXPECT_EQ(pf::reserves_camera(), 0);

    // On a main window the picture takes the client area, under the menus.
    cam.tornar();
    QMainWindow principal;
    principal.setCentralWidget(new QWidget);
    principal.menuBar()->addMenu(QStringLiteral("Opcions"));
    ASSERT_EQ(captura_obrir(pf::registrar_finestra(&principal)), 1);
    EXPECT_EQ(principal.centralWidget()->findChildren<QLabel*>(QStringLiteral("captura")).size(), 1);
    captura_tancar();
}

// ------------------------------------------------------------ registry

TEST(Registre, ValuesReadAsTextByType) {
    auto& m = magatzem_registre();
    const QString clau = QStringLiteral("SOFTWARE\\Prova");
    const QString hklm = QStringLiteral("HKEY_LOCAL_MACHINE");
    m[{hklm, clau, QStringLiteral("cami")}] = {REG_SZ, QByteArray("C:\\Ombra", 9)};
    m[{hklm, clau, QStringLiteral("bin")}] = {REG_BINARY, QByteArray("\x0A\xFF", 2)};
    m[{hklm, clau, QStringLiteral("n")}] = {REG_DWORD, QByteArray("\x2C\x01\x00\x00", 4)};
    m[{hklm, clau, QStringLiteral("zero")}] = {REG_DWORD, QByteArray(4, '\0')};
    m[{hklm, clau, QStringLiteral("multi")}] = {7, QByteArray("a\0b\0", 4)};
    EXPECT_EQ(registre_llegir_valor(QStringLiteral("hkey_local_machine"), clau, QStringLiteral("cami")),
              QStringLiteral("C:\\Ombra") + QChar(0));
    EXPECT_EQ(registre_llegir_valor(hklm, clau, QStringLiteral("bin")), QStringLiteral("hex:0A,FF"));
    EXPECT_EQ(registre_llegir_valor(hklm, clau, QStringLiteral("n")), QStringLiteral("dword:0000012C"));
    EXPECT_EQ(registre_llegir_valor(hklm, clau, QStringLiteral("zero")), QStringLiteral("dword:00000000"));
    EXPECT_EQ(registre_llegir_valor(hklm, clau, QStringLiteral("multi")), QString());
    EXPECT_EQ(registre_llegir_valor(hklm, clau, QStringLiteral("no_hi_es")), QString());
    EXPECT_EQ(registre_llegir_valor(QString(), clau, QStringLiteral("cami")), QString());
    EXPECT_EQ(registre_llegir_valor(QStringLiteral("HKEY_ALTRE"), clau, QStringLiteral("cami")), QString());
    m.clear();
}

TEST(Registre, TheSiblingProgramsPathDropsTheFinalZeroAndAnEmptyValueGivesNone) {
    EXPECT_EQ(cami_ombravisor(), QString()); // not installed: nothing to launch
    auto& m = magatzem_registre();
    const QString clau = QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{5E1A7C42-"
                                        "0B9D-4F3E-A6C1-0B7A5D0C3E21}_is1");
    m[{QStringLiteral("HKEY_LOCAL_MACHINE"), clau, QStringLiteral("Inno Setup: App Path")}] = {
        REG_SZ, QByteArray("C:\\OV", 6)};
    EXPECT_EQ(cami_ombravisor(), QStringLiteral("C:\\OV\\bin\\Ombravisor.exe"));
    m.clear();
}

// -------------------------------------------------- the stand-in window

TEST_F(Webcam, TheStandInPicksTheClickedColourShowsTheMaskAndSavesIt) {
    pf::CameraSintetica& c = cam;
    c.color_disc = QColor(40, 60, 220); // a blue disc
    posar_disc(300, 200);
    ASSERT_TRUE(ombravisor_obrir());
    OmbraVisor* v = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == QStringLiteral(" Ombra Visor")) v = qobject_cast<OmbraVisor*>(w);
    ASSERT_NE(v, nullptr);
    EXPECT_TRUE(v->property("fora_del_recompte").toBool());
    EXPECT_TRUE(v->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_EQ(pf::reserves_camera(), 1);
    EXPECT_TRUE(v->nom_camera->text().endsWith(QStringLiteral("Càmera sintètica")));
    EXPECT_FALSE(v->vist.trobat); // red is tracked, there is none

    QTest::mouseClick(v->imatge, Qt::LeftButton, {}, QPoint(300, 200));
    EXPECT_NEAR(v->parametres.to, QColor(40, 60, 220).hue(), 1);
    EXPECT_TRUE(v->vist.trobat);
    EXPECT_LE(std::abs(v->vist.h - 300), 1);
    const QImage mascara = v->mascara->pixmap().toImage();
    EXPECT_EQ(mascara.size(), QSize(640, 480));
    EXPECT_EQ(qGray(mascara.pixel(300, 200)), 255);
    EXPECT_EQ(qGray(mascara.pixel(50, 50)), 0);
    // The tracker follows the new colour at once.
    EXPECT_EQ(pf::seguidor_color().parametres().to, v->parametres.to);

    v->area_minima->setValue(4000); // larger than the disc
    EXPECT_FALSE(v->vist.trobat);
    v->area_minima->setValue(100);
    v->Desar->click();
    EXPECT_EQ(pf::llegir_parametres_color(), v->parametres);

    // Opened again: the same window comes to the front.
    ASSERT_TRUE(ombravisor_obrir());
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += w->windowTitle() == QStringLiteral(" Ombra Visor");
    EXPECT_EQ(n, 1);
    v->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(pf::reserves_camera(), 0);
}

TEST_F(Webcam, OpenedOverAModalWindowItBelongsToItAndIsFoundByItsTitle) {
    QDialog modal;
    OmbraVisor* obert = nullptr;
    bool trobat = false;
    QTimer::singleShot(0, &modal, [&] {
        ombravisor_obrir();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle() == TITOL_OMBRA_VISOR) {
                trobat = true;
                obert = qobject_cast<OmbraVisor*>(w);
            }
        modal.accept();
    });
    modal.exec();
    ASSERT_TRUE(trobat);
    ASSERT_NE(obert, nullptr);
    // A window of its own, child of the modal one, so it takes input while
    // that one runs.
    EXPECT_EQ(obert->parentWidget(), &modal);
    EXPECT_TRUE(obert->isWindow());
    obert->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(pf::reserves_camera(), 0);
}
