#include "contestador.h"
#include "core/activitat.h"
#include "core/fitxer_lrq.h"
#include "core/idioma.h"
#include "devices/OVSDLL_CALIB.h"
#include "devices/matriu_inversa.h"
#include "devices/ombra_visor.h"
#include "devices/omvis.h"
#include "platform/camera.h"
#include "platform/camera_sintetica.h"
#include "platform/carpetes.h"
#include "platform/ini.h"
#include "platform/rellotge_sintetic.h"
#include "platform/seguidor_sintetic.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <cmath>
#include <sys/inotify.h>

using namespace lumi;
using lumi::proves::Contestador;
namespace pf = lumi::plataforma;

namespace {

// The window over the synthetic camera and tracker, in a program folder of
// its own.
class FinestraCalibracio : public ::testing::Test {
  protected:
    void SetUp() override {
        abans = qgetenv("LUMIRAGA_HOME");
        qputenv("LUMIRAGA_HOME", dir.path().toLocal8Bit());
        dispositius() = EstatDispositius{};
        dispositius().wc_retard = 100;
        pf::posar_rellotge(&rellotge);
        pf::posar_camera(&cam);
        pf::posar_seguidor_color(&seguidor);
        cam.cami = {{0, {200, 150}}};
        cam.repetir = false;
        seguidor.params.to = 0; // the red disc
        f = std::make_unique<OVSDLL_CALIB>();
    }
    void TearDown() override {
        f.reset();
        pf::seguidor_color().finalitzar();
        pf::posar_seguidor_color(nullptr);
        pf::posar_camera(nullptr);
        pf::posar_rellotge(nullptr);
        qputenv("LUMIRAGA_HOME", abans);
        dispositius() = EstatDispositius{};
    }
    QString ini() const { return pf::fitxer_ini_programa(); }
    QString clau(const char* k) const {
        return pf::ini_llegir(ini(), QStringLiteral("WEBCAM"), QString::fromLatin1(k));
    }
    QByteArray bytes_ini() const {
        QFile fi(ini());
        return fi.open(QIODevice::ReadOnly) ? fi.readAll() : QByteArray();
    }
    void desar_cantons(int16_t x1, int16_t y1, int16_t x2, int16_t y2, int16_t x3, int16_t y3, int16_t x4,
                       int16_t y4) {
        calibracio_punts_desar(x1, y1, x2, y2, x3, y3, x4, y4);
    }
    // A click of the box as the user makes it (the handler follows the tick).
    void clicar(QCheckBox* c) { c->click(); }
    QPoint lloc(QLabel* l) const { return l->pos(); }
    bool groc(QWidget* w) const { return w->styleSheet().contains(QStringLiteral("#ffff00")); }
    void iniciar_calibracio() {
        Contestador c;
        clicar(f->calibrar);
        ASSERT_TRUE(c.textos.isEmpty());
        ASSERT_EQ(f->mode_calibracio, QStringLiteral("calibrar"));
    }
    QStringList acabar(QMessageBox::StandardButton resposta) {
        Contestador c({resposta});
        clicar(f->calibrar);
        return c.textos;
    }

    QTemporaryDir dir;
    QByteArray abans;
    pf::RellotgeSintetic rellotge;
    pf::CameraSintetica cam;
    pf::SeguidorSintetic seguidor;
    std::unique_ptr<OVSDLL_CALIB> f;
};

TEST_F(FinestraCalibracio, EachGroupOfSettingsReachesTheIniInOneSave) {
    // A save renames its copy onto the file. The copy's leaving is watched too,
    // or the kernel would merge the arrivals that follow each other.
    const int fd = inotify_init1(IN_NONBLOCK);
    inotify_add_watch(fd, QFile::encodeName(dir.path()).constData(), IN_MOVED_FROM | IN_MOVED_TO);
    const std::function<void()> grups[] = {[] { calibracio_punts_desar(1, 2, 3, 4, 5, 6, 7, 8); },
                                           [] { webcam_ini_desar(); },
                                           [] { pf::desar_parametres_color({}); }};
    for (const auto& desar : grups) {
        desar();
        alignas(inotify_event) char buf[8192];
        int desaments = 0;
        for (ssize_t i = 0, n = read(fd, buf, sizeof buf); i < n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(buf + i);
            desaments += (e->mask & IN_MOVED_TO) != 0;
            i += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        }
        EXPECT_EQ(desaments, 1);
    }
    close(fd);
    EXPECT_EQ(clau("y4"), QStringLiteral("8"));
}

// ------------------------------------------------------ corner capture

TEST_F(FinestraCalibracio, AStartStopsTheTrackerTakesTheStillAndDisablesTheOtherModes) {
    ASSERT_EQ(OVSInicialitza(0), 1);
    f->amaga_fons->setChecked(true);
    f->M_webc[1]->setChecked(true);
    dispositius().wc_modus = 0;
    iniciar_calibracio();
    EXPECT_FALSE(seguidor.posicio().trobat);
    EXPECT_FALSE(f->chkToggleAlarm->isEnabled());
    EXPECT_FALSE(f->ombra_visor_engega->isEnabled());
    EXPECT_FALSE(f->webcam->isEnabled());
    EXPECT_TRUE(f->mides_defecte->isEnabled());
    EXPECT_TRUE(groc(f->calibrar));
    // The still is the camera's frame, shown behind the markers; the camera
    // is free again.
    const QImage foto(fitxer_fotografia(), "BMP");
    ASSERT_EQ(foto.convertToFormat(QImage::Format_RGB32), cam.dibuixar(0));
    EXPECT_TRUE(f->Image1->isVisibleTo(f.get()));
    EXPECT_FALSE(f->Image1->pixmap().isNull());
    EXPECT_EQ(dispositius().captura_hwnd, 0);
    EXPECT_EQ(pf::reserves_camera(), 0);
    EXPECT_EQ(dispositius().wc_modus, 1);
    EXPECT_EQ(f->cantonada_activa, 6);
    EXPECT_EQ(f->cantonades_fetes, QStringLiteral("0000"));
    for (const cantonada& c : f->cantonades) {
        EXPECT_EQ(c.x, 320);
        EXPECT_EQ(c.y, 240);
    }
    // The start leaves an empty bounding box: scaling in it changes nothing
    // rather than dividing by a width that is not there.
    f->punt_x = 200;
    f->punt_y = 100;
    f->ajustar();
    EXPECT_EQ(f->punt_x, 200);
    EXPECT_EQ(f->punt_y, 100);
    f->webcam_min_x = 100;
    f->webcam_max_x = 300;
    f->webcam_min_y = 100;
    f->webcam_max_y = 260;
    f->punt_x = 205; // 63 exactly
    f->punt_y = 0;   // 0 stays
    f->ajustar();
    EXPECT_EQ(f->punt_x, 63);
    EXPECT_EQ(f->punt_y, 0);
    f->punt_x = 150; // 30
    f->punt_y = 102; // 1.5 goes to the even 2
    f->ajustar();
    EXPECT_EQ(f->punt_x, 30);
    EXPECT_EQ(f->punt_y, 2);
}

TEST_F(FinestraCalibracio, TheAutomaticSearchPushesEachQuarterOutwards) {
    iniciar_calibracio();
    // The top-left quarter: the outermost click wins, coordinate by coordinate.
    f->Picture1_MouseDown(100, 50);
    f->Picture1_MouseDown(150, 20);
    EXPECT_EQ(f->cantonades[0].x, 100);
    EXPECT_EQ(f->cantonades[0].y, 20);
    // The centre column above the centre: the top-left corner's y only.
    f->Picture1_MouseDown(320, 10);
    EXPECT_EQ(f->cantonades[0].x, 100);
    EXPECT_EQ(f->cantonades[0].y, 10);
    EXPECT_EQ(f->cantonades[1].x, 320);
    EXPECT_EQ(f->cantonades[1].y, 240);
    f->Picture1_MouseDown(321, 60);
    EXPECT_EQ(f->cantonades[1].x, 321);
    EXPECT_EQ(f->cantonades[1].y, 60);
    // Below the centre, x = 320 goes to the bottom-right corner.
    f->Picture1_MouseDown(320, 400);
    EXPECT_EQ(f->cantonades[2].x, 320);
    EXPECT_EQ(f->cantonades[2].y, 400);
    f->Picture1_MouseDown(50, 450);
    EXPECT_EQ(f->cantonades[3].x, 50);
    EXPECT_EQ(f->cantonades[3].y, 450);
    // The centre row changes nothing but draws its mark.
    const auto abans = f->cantonades;
    f->Picture1_MouseDown(10, 240);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(f->cantonades[i].x, abans[i].x);
        EXPECT_EQ(f->cantonades[i].y, abans[i].y);
    }
    ASSERT_EQ(f->Picture1->marques.size(), 1u);
    EXPECT_EQ(f->Picture1->marques[0].linia, QLine(10, 240, 15, 245));
    EXPECT_EQ(f->Picture1->marques[0].color, QColor(255, 255, 0));
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(f->ppunt[i]->isVisibleTo(f.get()));
        EXPECT_EQ(lloc(f->ppunt[i]), QPoint(f->cantonades[i].x, f->cantonades[i].y));
    }
    // A click on the top row or the left column clears the marks, nothing more.
    f->Picture1_MouseDown(0, 20);
    f->Picture1_MouseDown(30, 0);
    EXPECT_TRUE(f->Picture1->marques.empty());
    EXPECT_EQ(f->cantonades[0].x, 100);
    EXPECT_EQ(f->cantonades[0].y, 10);
    // Unrounded in the raw labels, half to even in the point.
    f->Picture1_MouseDown(100.5, 101.5);
    EXPECT_EQ(f->vpxy[0]->text(), QStringLiteral("100.5"));
    EXPECT_EQ(f->vpxy[1]->text(), QStringLiteral("101.5"));
    EXPECT_EQ(f->fvpx[0]->text(), QStringLiteral("100"));
    EXPECT_EQ(f->fvpx[1]->text(), QStringLiteral("102"));
}

TEST_F(FinestraCalibracio, CornerByCornerThenTheSignThatAllFourAreDone) {
    // Not while the box is unticked.
    f->b_test_Click(1);
    EXPECT_EQ(f->cantonada_activa, 5);
    EXPECT_TRUE(f->mode_calibracio.isEmpty());
    iniciar_calibracio();
    f->b_test_Click(1);
    f->Picture1_MouseDown(600, 30);
    EXPECT_EQ(f->cantonades_fetes, QStringLiteral("0100"));
    // Chosen again: to be captured again, captured once.
    f->b_test_Click(1);
    EXPECT_EQ(f->cantonades_fetes, QStringLiteral("0000"));
    EXPECT_TRUE(groc(f->b_test[1]));
    EXPECT_FALSE(f->ppunt[1]->isVisibleTo(f.get()));
    f->Picture1_MouseDown(610, 20);
    EXPECT_EQ(f->cantonades_fetes, QStringLiteral("0100"));
    EXPECT_EQ(f->cantonades[1].x, 610);
    EXPECT_EQ(f->cantonades[1].y, 20);
    EXPECT_EQ(lloc(f->ppunt[1]), QPoint(610, 20));
    EXPECT_FALSE(groc(f->b_test[1]));
    EXPECT_EQ(f->cantonada_activa, 5);
    // With no corner chosen a click captures nothing (the search is over).
    f->Picture1_MouseDown(30, 30);
    EXPECT_EQ(f->cantonades[0].x, 320);
    const int punts[4][2] = {{20, 25}, {0, 0}, {615, 460}, {18, 455}};
    for (int16_t i : {0, 2, 3}) {
        f->b_test_Click(i);
        f->Picture1_MouseDown(punts[i][0], punts[i][1]);
    }
    EXPECT_EQ(f->cantonades_fetes, QStringLiteral("1111"));
    ASSERT_EQ(f->Picture1->marques.size(), 2u);
    EXPECT_EQ(f->Picture1->marques[1].color, QColor(240, 255, 0));
    // Every further click: the second mark, no capture.
    f->Picture1_MouseDown(300, 300);
    EXPECT_EQ(f->Picture1->marques.size(), 2u);
    EXPECT_EQ(f->cantonades[3].x, 18);
}

TEST_F(FinestraCalibracio, EndingWithYesStoresTheCornersAndWithNoLeavesTheIniAlone) {
    iniciar_calibracio();
    const int punts[4][2] = {{20, 25}, {610, 20}, {615, 460}, {18, 455}};
    for (int16_t i = 0; i < 4; ++i) {
        f->b_test_Click(i);
        f->Picture1_MouseDown(punts[i][0], punts[i][1]);
    }
    const QStringList textos = acabar(QMessageBox::Yes);
    ASSERT_EQ(textos.size(), 1);
    EXPECT_EQ(textos[0], text_idioma(74));
    EXPECT_TRUE(f->mode_calibracio.isEmpty());
    EXPECT_FALSE(f->calibrar->isChecked());
    EXPECT_FALSE(groc(f->calibrar));
    EXPECT_FALSE(f->Image1->isVisibleTo(f.get()));
    EXPECT_TRUE(f->chkToggleAlarm->isEnabled());
    EXPECT_TRUE(f->webcam->isEnabled());
    EXPECT_TRUE(f->ombra_visor_engega->isEnabled());
    // The preview runs again.
    EXPECT_NE(dispositius().captura_hwnd, 0);
    const char* claus[8] = {"x1", "y1", "x2", "y2", "x3", "y3", "x4", "y4"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(clau(claus[i]), QString::number(punts[i / 2][i % 2])) << claus[i];
    EXPECT_FALSE(clau("data").isEmpty());
    // Recomputed: the first corner maps onto the frame's origin.
    EXPECT_NEAR(calibracio_x(20, 25), 0, 1e-6);
    EXPECT_NEAR(calibracio_y(615, 460), 480, 1e-6);

    // Another calibration, ended with No: not a byte changes.
    const QByteArray abans = bytes_ini();
    iniciar_calibracio();
    f->Picture1_MouseDown(5, 5);
    EXPECT_EQ(acabar(QMessageBox::No).size(), 1);
    EXPECT_EQ(bytes_ini(), abans);
}

TEST_F(FinestraCalibracio, DefaultSizesDuringACalibrationAreOverwrittenByItsYes) {
    iniciar_calibracio();
    f->Picture1_MouseDown(100, 50);
    f->mides_defecte->click();
    EXPECT_EQ(clau("x2"), QStringLiteral("638"));
    EXPECT_EQ(clau("y3"), QStringLiteral("478"));
    // The window goes on as it was.
    EXPECT_EQ(f->mode_calibracio, QStringLiteral("calibrar"));
    EXPECT_EQ(f->cantonades[0].x, 100);
    EXPECT_EQ(f->cantonada_activa, 6);
    acabar(QMessageBox::Yes);
    EXPECT_EQ(clau("x1"), QStringLiteral("100"));
    EXPECT_EQ(clau("x2"), QStringLiteral("320"));
}

TEST_F(FinestraCalibracio, YesBeforeAnyCornerStoresTheCentreAndTheRecomputationSaysItFails) {
    QStringList avisos;
    avis_usuari() = [&](const QString& t) { avisos << t; };
    iniciar_calibracio();
    acabar(QMessageBox::Yes);
    EXPECT_EQ(clau("x1"), QStringLiteral("320"));
    EXPECT_EQ(clau("y4"), QStringLiteral("240"));
    EXPECT_EQ(avisos.size(), 1);
    EXPECT_EQ(calibracio_calcular(), 0);
    avis_usuari() = nullptr;
}

TEST_F(FinestraCalibracio, WithoutCameraEachStepSaysSoAndNothingWaits) {
    cam.falla_obrir = true;
    {
        Contestador c;
        clicar(f->calibrar);
        EXPECT_EQ(c.textos, QStringList{tradueix(QStringLiteral("OmbraVisor|sense_camera"))});
    }
    EXPECT_FALSE(f->calibrar->isChecked());
    EXPECT_TRUE(f->mode_calibracio.isEmpty());
    EXPECT_TRUE(f->chkToggleAlarm->isEnabled());
    // "Test": once, the tracker's start; the controls usable again.
    {
        Contestador c;
        clicar(f->chkToggleAlarm);
        ASSERT_EQ(c.textos.size(), 1);
        EXPECT_EQ(c.textos[0], text_idioma(72));
    }
    EXPECT_FALSE(f->chkToggleAlarm->isChecked());
    for (QWidget* w : {static_cast<QWidget*>(f->calibrar), static_cast<QWidget*>(f->mides_defecte),
                       static_cast<QWidget*>(f->webcam), static_cast<QWidget*>(f->ombra_visor_engega)})
        EXPECT_TRUE(w->isEnabled());
    EXPECT_FALSE(f->ctrlTimer.isActive());
    EXPECT_TRUE(f->Image1->pixmap().isNull());
    // "Imatge WebCam": says why the four controls wait, on the picture too; a
    // later click tries again.
    {
        Contestador c;
        f->webcam->click();
        f->webcam->click();
        ASSERT_EQ(c.textos.size(), 2);
        EXPECT_TRUE(c.textos[0].startsWith(tradueix(QStringLiteral("OmbraVisor|sense_camera")) + u'\n'));
    }
    EXPECT_TRUE(f->sense_camera->isVisibleTo(f.get()));
    EXPECT_FALSE(f->calibrar->isEnabled());
    EXPECT_FALSE(f->chkToggleAlarm->isEnabled());
    cam.falla_obrir = false;
    f->webcam->click();
    EXPECT_NE(dispositius().captura_hwnd, 0);
    EXPECT_FALSE(f->sense_camera->isVisibleTo(f.get()));
    f->webcam->click();
    EXPECT_EQ(dispositius().captura_hwnd, 0);
    EXPECT_TRUE(f->calibrar->isEnabled());
}

TEST_F(FinestraCalibracio, CameraLostBeforeTheEndKeepsTheCalibrationGoing) {
    iniciar_calibracio();
    f->Picture1_MouseDown(100, 50);
    cam.falla_obrir = true;
    {
        Contestador c;
        clicar(f->calibrar);
        ASSERT_EQ(c.textos.size(), 1);
        EXPECT_EQ(c.textos[0], tradueix(QStringLiteral("OmbraVisor|sense_camera")));
    }
    EXPECT_FALSE(f->calibrar->isChecked());
    EXPECT_EQ(f->mode_calibracio, QStringLiteral("calibrar"));
    EXPECT_FALSE(f->webcam->isEnabled());
    cam.falla_obrir = false;
    // The next click tries to end it again.
    acabar(QMessageBox::Yes);
    EXPECT_EQ(clau("x1"), QStringLiteral("100"));
}

// ------------------------------------------------------------ test mode

TEST_F(FinestraCalibracio, TestModeMovesBothMarkersWhereTheMapSaysAndStopsCleanly) {
    desar_cantons(0, 0, 638, 0, 638, 478, 0, 478);
    dispositius().coeficients_calibracio = {}; // never computed in this run
    clicar(f->chkToggleAlarm);
    ASSERT_EQ(f->mode_calibracio, QStringLiteral("test"));
    EXPECT_TRUE(f->ctrlTimer.isActive());
    EXPECT_EQ(f->ctrlTimer.interval(), 65);
    for (QWidget* w : {static_cast<QWidget*>(f->calibrar), static_cast<QWidget*>(f->mides_defecte),
                       static_cast<QWidget*>(f->webcam), static_cast<QWidget*>(f->ombra_visor_engega)})
        EXPECT_FALSE(w->isEnabled());
    EXPECT_EQ(lloc(f->ppunt[2]), QPoint(638, 478));
    EXPECT_TRUE(f->tpunt[1]->isVisibleTo(f.get()));
    f->ctrlTimer_Timer();
    const int h = f->vpxy[0]->text().toInt(), v = f->vpxy[1]->text().toInt();
    EXPECT_NEAR(h, 200, 1);
    EXPECT_NEAR(v, 150, 1);
    EXPECT_EQ(lloc(f->tpunt[0]), QPoint(h, v));
    // Nearly the identity: stretched by 640/638 and 480/478.
    EXPECT_NEAR(lloc(f->tpunt[1]).x(), h * 640.0 / 638, 0.5);
    EXPECT_NEAR(lloc(f->tpunt[1]).y(), v * 480.0 / 478, 0.5);

    // A keystone: the diagonals' crossing goes to the frame's centre, the
    // middle of the top edge to the top.
    clicar(f->chkToggleAlarm);
    EXPECT_FALSE(f->ctrlTimer.isActive());
    EXPECT_TRUE(f->calibrar->isEnabled());
    EXPECT_FALSE(f->tpunt[0]->isVisibleTo(f.get()));
    EXPECT_TRUE(f->ppunt[0]->isVisibleTo(f.get()));
    desar_cantons(100, 50, 540, 50, 620, 430, 20, 430);
    cam.cami = {{0, {320, 210.77}}};
    clicar(f->chkToggleAlarm);
    f->ctrlTimer_Timer();
    EXPECT_NEAR(lloc(f->tpunt[1]).x(), 320, 1);
    EXPECT_NEAR(lloc(f->tpunt[1]).y(), 240, 2);
    cam.cami = {{0, {320, 50}}};
    f->ctrlTimer_Timer();
    EXPECT_NEAR(lloc(f->tpunt[1]).x(), 320, 1);
    EXPECT_NEAR(lloc(f->tpunt[1]).y(), 0, 1);
    clicar(f->chkToggleAlarm);
    EXPECT_FALSE(seguidor.posicio().trobat);
}

TEST_F(FinestraCalibracio, TheTickIgnoresEmptyReadingsInvertsAndTestsMovementWithinTwo) {
    desar_cantons(0, 0, 638, 0, 638, 478, 0, 478);
    clicar(f->chkToggleAlarm);
    f->ctrlTimer_Timer();
    const QPoint abans0 = lloc(f->tpunt[0]), abans1 = lloc(f->tpunt[1]);
    const QString etiqueta = f->vpxy[0]->text();
    const int h = etiqueta.toInt(), v = f->vpxy[1]->text().toInt();
    EXPECT_EQ(f->ultima_h, h);
    EXPECT_EQ(f->ultima_v, v);
    EXPECT_EQ(f->inici_quiet, rellotge.dia);
    // Nothing seen: markers and labels stay.
    cam.disc_visible = false;
    f->ctrlTimer_Timer();
    EXPECT_EQ(lloc(f->tpunt[0]), abans0);
    EXPECT_EQ(lloc(f->tpunt[1]), abans1);
    EXPECT_EQ(f->vpxy[0]->text(), etiqueta);
    cam.disc_visible = true;
    // Two pixels: not moved; three: moved, the quiet time starts again.
    rellotge.avancar(5);
    cam.cami = {{0, {200 + 2, 150 - 2}}};
    f->ctrlTimer_Timer();
    ASSERT_EQ(f->vpxy[0]->text().toInt(), h + 2);
    EXPECT_EQ(f->ultima_h, h);
    EXPECT_NE(f->inici_quiet, rellotge.dia);
    cam.cami = {{0, {200 + 3, 150}}};
    f->ctrlTimer_Timer();
    EXPECT_EQ(f->ultima_h, h + 3);
    EXPECT_EQ(f->inici_quiet, rellotge.dia);
    // Inverted: the marker mirrors, the raw label does not.
    f->WEBCAM_INV_H->setChecked(true);
    cam.cami = {{0, {100, 150}}};
    f->ctrlTimer_Timer();
    const int h2 = f->vpxy[0]->text().toInt();
    EXPECT_NEAR(h2, 100, 1);
    EXPECT_EQ(lloc(f->tpunt[0]).x(), 640 - h2);
    EXPECT_EQ(f->fvpx[0]->text().toInt(), 640 - h2);
}

TEST_F(FinestraCalibracio, TestModeWithoutAMapHidesTheMappedMarker) {
    QStringList avisos;
    avis_usuari() = [&](const QString& t) { avisos << t; };
    desar_cantons(320, 240, 320, 240, 320, 240, 320, 240);
    clicar(f->chkToggleAlarm);
    EXPECT_EQ(f->mode_calibracio, QStringLiteral("test"));
    EXPECT_FALSE(f->tpunt[1]->isVisibleTo(f.get()));
    const QPoint abans = lloc(f->tpunt[1]);
    f->ctrlTimer_Timer();
    EXPECT_TRUE(f->tpunt[0]->isVisibleTo(f.get()));
    EXPECT_EQ(lloc(f->tpunt[1]), abans);
    avis_usuari() = nullptr;
}

TEST_F(FinestraCalibracio, AFirstClickAfterTestModeCapturesItsCorner) {
    desar_cantons(0, 0, 638, 0, 638, 478, 0, 478);
    clicar(f->chkToggleAlarm);
    f->ctrlTimer_Timer();
    ASSERT_NE(f->ultima_v, 0);
    clicar(f->chkToggleAlarm);
    iniciar_calibracio();
    f->b_test_Click(2);
    f->Picture1_MouseDown(600, 400);
    EXPECT_EQ(f->cantonades_fetes, QStringLiteral("0010"));
    EXPECT_EQ(f->cantonades[2].x, 600);
}

// ------------------------------------------------------------- settings

TEST_F(FinestraCalibracio, TheDelayBoxReadsTheLeadingNumberAndKeepsTheDelayBeyond16Bits) {
    struct Cas {
        const char* text;
        int retard;
        const char* queda;
    };
    const Cas casos[] = {{"250", 250, "250"},   {"0", 100, "100"}, {"", 100, "100"},
                         {"7.5", 8, "7.5"},     {"6.5", 6, "6.5"}, {"12abc", 12, "12abc"},
                         {"70000", 12, "70000"}};
    f->Text1->setText(QStringLiteral("12"));
    for (const Cas& c : casos) {
        if (QString::fromLatin1(c.text) == QStringLiteral("70000")) f->Text1->setText(QStringLiteral("12"));
        f->Text1->setText(QString::fromLatin1(c.text));
        EXPECT_EQ(dispositius().wc_retard, c.retard) << c.text;
        EXPECT_EQ(f->Text1->text(), QString::fromLatin1(c.queda)) << c.text;
    }
}

TEST_F(FinestraCalibracio, TheWindowShowsTheStoredSettingsAndClosingKeepsThem) {
    auto& d = dispositius();
    d.web_inv_h = 1;
    d.web_inv_v = 0;
    d.wc_modus = 1;
    d.wc_retard = 250;
    webcam_ini_desar();
    desar_cantons(0, 0, 638, 0, 638, 478, 0, 478);
    const QByteArray abans = bytes_ini();
    // A new activity resets two of them in memory.
    d.wc_modus = 0;
    d.wc_retard = 100;
    f = std::make_unique<OVSDLL_CALIB>();
    f->Form_Load();
    EXPECT_TRUE(f->WEBCAM_INV_H->isChecked());
    EXPECT_FALSE(f->WEBCAM_INV_V->isChecked());
    EXPECT_TRUE(f->M_webc[1]->isChecked());
    EXPECT_EQ(f->Text1->text(), QStringLiteral("250"));
    f->Command3->click();
    EXPECT_EQ(bytes_ini(), abans);

    // A calibration ended with Yes keeps them too.
    d.wc_modus = 0;
    d.wc_retard = 100;
    f = std::make_unique<OVSDLL_CALIB>();
    f->Form_Load();
    iniciar_calibracio();
    acabar(QMessageBox::Yes);
    EXPECT_EQ(clau("wc_modus"), QStringLiteral("1"));
    EXPECT_EQ(clau("wc_retard"), QStringLiteral("250"));
    EXPECT_EQ(d.wc_retard, 250);
    // A delay typed during a calibration survives its recomputation.
    iniciar_calibracio();
    f->Text1->setText(QStringLiteral("300"));
    acabar(QMessageBox::Yes);
    EXPECT_EQ(d.wc_retard, 300);
    EXPECT_EQ(clau("wc_retard"), QStringLiteral("300"));

    // Changed in the window: written as it closes; the capture is closed.
    f->WEBCAM_INV_V->setChecked(true);
    f->M_webc[0]->setChecked(true);
    f->Text1->setText(QStringLiteral("7.5"));
    f->Command3->click();
    EXPECT_EQ(dispositius().captura_hwnd, 0);
    EXPECT_EQ(clau("web_inv_v"), QStringLiteral("1"));
    EXPECT_EQ(clau("wc_modus"), QStringLiteral("0"));
    EXPECT_EQ(clau("wc_retard"), QStringLiteral("8"));
}

TEST_F(FinestraCalibracio, AWindowClosedDuringACalibrationOpensAfresh) {
    iniciar_calibracio();
    f->Picture1_MouseDown(100, 50);
    f->Command3->click();
    EXPECT_EQ(clau("x1"), QString());
    bool primer_inicia = false;
    QTimer::singleShot(0, [&] {
        OVSDLL_CALIB* w = OVSDLL_CALIB::instancia();
        Contestador c;
        w->calibrar->click();
        primer_inicia = w->mode_calibracio == QStringLiteral("calibrar") && c.textos.isEmpty();
        w->Command3->click();
    });
    f.reset();
    OVSDLL_CALIB::mostrar(nullptr);
    EXPECT_TRUE(primer_inicia);
}

// --------------------------------------------------- the sibling switch

TEST_F(FinestraCalibracio, TheSiblingSwitchBringsUpTheOpenWindowOrOpensTheStandIn) {
    f.reset();
    OmbraVisor* obert = nullptr;
    bool desactivats = false, marcat_despres = false, a_dalt = false;
    QTimer::singleShot(0, [&] {
        OVSDLL_CALIB* w = OVSDLL_CALIB::instancia();
        // None open: the stand-in opens over this modal window, taking input.
        w->ombra_visor_engega->click();
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t->isVisible() && t->windowTitle() == TITOL_OMBRA_VISOR) obert = qobject_cast<OmbraVisor*>(t);
        desactivats = !w->calibrar->isEnabled() && !w->mides_defecte->isEnabled() &&
                      !w->chkToggleAlarm->isEnabled() && !w->webcam->isEnabled();
        // Open: unticking brings it up and the box stays ticked.
        w->ombra_visor_engega->click();
        marcat_despres = w->ombra_visor_engega->isChecked();
        a_dalt = obert && obert->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        w->Command3->click();
    });
    OVSDLL_CALIB::mostrar(nullptr);
    ASSERT_NE(obert, nullptr);
    EXPECT_TRUE(desactivats);
    EXPECT_TRUE(marcat_despres);
    EXPECT_TRUE(a_dalt);
    // It outlives the calibration window.
    EXPECT_TRUE(obert->isVisible());
    EXPECT_TRUE(obert->isWindow());
    obert->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
