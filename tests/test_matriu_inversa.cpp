#include "core/activitat.h"
#include "core/fitxer_lrq.h"
#include "core/idioma.h"
#include "devices/matriu_inversa.h"
#include "devices/omvis.h"
#include "platform/carpetes.h"
#include "platform/seguidor_color.h"

#include <QDate>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace lumi;
namespace pf = lumi::plataforma;

namespace {

// A program folder of its own, and a clean device state.
class Calibracio : public ::testing::Test {
  protected:
    void SetUp() override {
        abans = qgetenv("LUMIRAGA_HOME");
        qputenv("LUMIRAGA_HOME", dir.path().toLocal8Bit());
        dispositius() = EstatDispositius{};
        avis_usuari() = [this](const QString& t) { avisos << t; };
    }
    void TearDown() override {
        qputenv("LUMIRAGA_HOME", abans);
        dispositius() = EstatDispositius{};
    }
    QString ini() const { return pf::fitxer_ini_programa(); }
    void escriure_ini(const QByteArray& text) {
        QFile f(dir.filePath(QStringLiteral("lumiraga.ini")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }
    QByteArray llegir_ini() {
        QFile f(ini());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // Stores corners as the calibration window does and builds the map.
    int16_t calibrar(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
        auto e = [](int v) { return static_cast<int16_t>(v); };
        calibracio_punts_desar(e(x1), e(y1), e(x2), e(y2), e(x3), e(y3), e(x4), e(y4));
        return calibracio_calcular();
    }
    double k(int i) const { return dispositius().coeficients_calibracio[static_cast<size_t>(i)]; }

    QTemporaryDir dir;
    QByteArray abans;
    QStringList avisos;
};

} // namespace

// ------------------------------------------------------------- settings

TEST_F(Calibracio, SettingsAreWrittenInOrderWithoutBlanksAndReadBackByAnyCase) {
    EstatDispositius& d = dispositius();
    d.web_inv_v = 1;
    d.web_inv_h = 0;
    d.wc_modus = -3;
    d.wc_retard = 100;
    webcam_ini_desar();
    EXPECT_EQ(llegir_ini().replace("\r", ""),
              QByteArray("[WEBCAM]\nweb_inv_v=1\nweb_inv_h=0\nwc_modus=-3\nwc_retard=100\n"));

    escriure_ini("[webcam]\r\nWEB_INV_V= 1\r\nWeb_Inv_H=2.5\r\nwc_modus=abc\r\nwc_retard=150ms\r\n");
    d = EstatDispositius{};
    d.wc_modus = 7;
    webcam_ini_llegir();
    EXPECT_EQ(d.web_inv_v, 1);
    EXPECT_EQ(d.web_inv_h, 2); // halves to even
    EXPECT_EQ(d.wc_modus, 0);  // no digits read as 0
    EXPECT_EQ(d.wc_retard, 150);
}

TEST_F(Calibracio, MissingEmptyOrTooLargeValuesKeepTheOldOnes) {
    EstatDispositius& d = dispositius();
    d.web_inv_v = 1;
    d.web_inv_h = 1;
    d.wc_modus = 1;
    d.wc_retard = 77;
    webcam_ini_llegir(); // no file at all
    EXPECT_EQ(d.wc_retard, 77);
    int16_t c[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    calibracio_punts_llegir(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]);
    EXPECT_EQ(c[7], 8);

    escriure_ini("[WEBCAM]\r\nweb_inv_v=\r\nwc_modus=40000\r\nwc_retard=-32769\r\nx1=-32768\r\ny1=32768\r\n");
    webcam_ini_llegir();
    EXPECT_EQ(d.web_inv_v, 1);
    EXPECT_EQ(d.web_inv_h, 1);
    EXPECT_EQ(d.wc_modus, 1);
    EXPECT_EQ(d.wc_retard, 77);
    calibracio_punts_llegir(c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]);
    EXPECT_EQ(c[0], -32768);
    EXPECT_EQ(c[1], 2);
}

TEST_F(Calibracio, CornersAndSettingsNeverTouchEachOther) {
    calibracio_punts_desar(0, 0, 638, 0, 638, 478, 0, 478);
    const QByteArray escrit = llegir_ini().replace("\r", "");
    const QByteArray data = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toUtf8();
    EXPECT_EQ(escrit,
              "[WEBCAM]\ndata=" + data + "\nx1=0\ny1=0\nx2=638\ny2=0\nx3=638\ny3=478\nx4=0\ny4=478\n");
    dispositius().wc_retard = 100;
    webcam_ini_desar();
    calibracio_punts_desar(1, 2, 3, 4, 5, 6, 7, 8);
    const QByteArray final = llegir_ini().replace("\r", "");
    EXPECT_TRUE(final.contains("wc_retard=100\n"));
    EXPECT_TRUE(final.contains("x4=7\ny4=8\n"));
    EXPECT_EQ(final.count("x1="), 1);
}

// ------------------------------------------------------------------ map

TEST_F(Calibracio, IdentityAndDefaultCornersGiveTheKnownCoefficients) {
    ASSERT_EQ(calibrar(0, 0, 640, 0, 640, 480, 0, 480), CERT);
    for (int i = 1; i <= 8; ++i)
        EXPECT_NEAR(k(i), (i == 1 || i == 5) ? 1.0 : 0.0, 1e-9) << "K" << i;
    EXPECT_NEAR(calibracio_x(123, 456), 123, 1e-9);
    EXPECT_NEAR(calibracio_y(123, 456), 456, 1e-9);

    // The calibration window's default corners; x1 = 0 makes the first
    // pivot 0, which the row swap gets past.
    ASSERT_EQ(calibrar(0, 0, 638, 0, 638, 478, 0, 478), CERT);
    EXPECT_NEAR(k(1), 640.0 / 638.0, 1e-9);
    EXPECT_NEAR(k(5), 480.0 / 478.0, 1e-9);
    for (int i : {2, 3, 4, 6, 7, 8})
        EXPECT_NEAR(k(i), 0.0, 1e-9) << "K" << i;
    EXPECT_NEAR(calibracio_x(319, 239), 320, 1e-9);
    EXPECT_NEAR(calibracio_y(319, 239), 240, 1e-9);
    EXPECT_TRUE(avisos.isEmpty());
}

TEST_F(Calibracio, KeystoneAndMirroredCornersSendEachCornerToItsTarget) {
    struct Punt {
        int x, y;
        double X, Y;
    };
    // A keystone: the top edge narrower than the bottom one.
    ASSERT_EQ(calibrar(200, 100, 440, 100, 600, 400, 40, 400), CERT);
    for (const Punt& p :
         {Punt{200, 100, 0, 0}, Punt{440, 100, 640, 0}, Punt{600, 400, 640, 480}, Punt{40, 400, 0, 480}}) {
        EXPECT_NEAR(calibracio_x(static_cast<int16_t>(p.x), static_cast<int16_t>(p.y)), p.X, 1e-9);
        EXPECT_NEAR(calibracio_y(static_cast<int16_t>(p.x), static_cast<int16_t>(p.y)), p.Y, 1e-9);
    }
    EXPECT_GT(std::abs(k(8)), 1e-6); // really projective
    // On the middle line, but a projective map does not keep halfway points.
    EXPECT_NEAR(calibracio_x(320, 250), 320, 1e-9);
    EXPECT_GT(std::abs(calibracio_y(320, 250) - 240), 10);

    // Mirrored: corner 2 left of corner 1, so X runs from 640 at the left.
    ASSERT_EQ(calibrar(640, 0, 0, 0, 0, 480, 640, 480), CERT);
    EXPECT_NEAR(calibracio_x(0, 240), 640, 1e-9);
    EXPECT_NEAR(calibracio_x(640, 240), 0, 1e-9);
    EXPECT_NEAR(calibracio_x(160, 240), 480, 1e-9);
    EXPECT_NEAR(calibracio_y(160, 120), 120, 1e-9);
}

TEST_F(Calibracio, ASingularCalibrationIsReportedAndFailsInsteadOfGivingGarbage) {
    ASSERT_EQ(calibrar(0, 0, 640, 0, 640, 480, 0, 480), CERT);
    const auto bons = dispositius().coeficients_calibracio;
    // Four identical corners: no map.
    EXPECT_EQ(calibrar(100, 100, 100, 100, 100, 100, 100, 100), FALS);
    ASSERT_EQ(avisos.size(), 1);
    EXPECT_EQ(avisos[0], QStringLiteral("The Structure is Not Stable, Please Check the InputData."));
    for (const char* llengua : {"catala", "español", "galego"})
        EXPECT_EQ(tradueix_en(QString::fromUtf8(llengua), QStringLiteral("matriu_inversa|inestable")),
                  avisos[0]);
    EXPECT_EQ(dispositius().coeficients_calibracio, bons);
    for (double v : dispositius().matriu_c[1])
        EXPECT_TRUE(std::isfinite(v));
}

TEST_F(Calibracio, NoDataKeyMeansNoCalibrationAndKeepsThePreviousMap) {
    ASSERT_EQ(calibrar(0, 0, 638, 0, 638, 478, 0, 478), CERT);
    const auto coef = dispositius().coeficients_calibracio;
    const auto c = dispositius().matriu_c;
    escriure_ini("[WEBCAM]\r\nx1=5\r\ny1=5\r\nx2=600\r\n");
    EXPECT_EQ(calibracio_calcular(), FALS);
    EXPECT_EQ(dispositius().coeficients_calibracio, coef);
    EXPECT_EQ(dispositius().matriu_c, c);
    EXPECT_TRUE(avisos.isEmpty());
    // "DATA" finds "data" in any case, and building re-reads the settings.
    escriure_ini("[WEBCAM]\r\nDaTa=1/2/26\r\nx2=640\r\nx3=640\r\ny3=480\r\ny4=480\r\nweb_inv_h=1\r\n");
    EXPECT_EQ(calibracio_calcular(), CERT);
    EXPECT_EQ(dispositius().web_inv_h, 1);
    EXPECT_NEAR(k(1), 1.0, 1e-9);
}

TEST_F(Calibracio, APointWithoutImageIsNotFinite) {
    // K7 = K8 = 0 unless projective; make one by hand.
    dispositius().coeficients_calibracio = {0, 1, 0, 0, 0, 1, 0, -0.01, 0};
    EXPECT_FALSE(std::isfinite(calibracio_x(100, 7)));
    EXPECT_FALSE(std::isfinite(calibracio_y(100, 7)));
    EXPECT_TRUE(std::isfinite(calibracio_x(99, 7)));
}

// ------------------------------------------------------- screen mapping

namespace {
// A tracker that answers what the test says.
struct SeguidorGuio : pf::SeguidorColor {
    pf::PosicioColor p;
    bool iniciar(int16_t) override { return true; }
    pf::PosicioColor posicio() override { return p; }
    void finalitzar() override {}
    void posar_parametres(const pf::ParametresColor&) override {}
    pf::ParametresColor parametres() const override { return {}; }
};

struct Mapatge : Calibracio {
    SeguidorGuio s;
    void SetUp() override {
        Calibracio::SetUp();
        pf::posar_seguidor_color(&s);
        escriptori_actual() = [] { return QRect(0, 0, 1024, 768); };
    }
    void TearDown() override {
        pf::posar_seguidor_color(nullptr);
        Calibracio::TearDown();
    }
    // The screen point for camera point (h, v); nothing when not found.
    std::pair<int, int> punt(int h, int v, int16_t x0 = -7, int16_t y0 = -7) {
        s.p = {true, static_cast<int16_t>(h), static_cast<int16_t>(v)};
        int16_t x = x0, y = y0;
        EXPECT_EQ(omvis_posicio_pantalla(x, y), 1);
        return {x, y};
    }
};
} // namespace

TEST_F(Mapatge, IdentityScalesToTheScreenWithFloorInversionAndTheFarEdgeIncluded) {
    ASSERT_EQ(calibrar(0, 0, 640, 0, 640, 480, 0, 480), CERT);
    EXPECT_EQ(punt(320, 240), std::make_pair(512, 384));
    EXPECT_EQ(punt(640, 480), std::make_pair(1024, 768));
    EXPECT_EQ(punt(1, 1), std::make_pair(1, 1)); // 1.6 floors to 1
    EXPECT_EQ(punt(0, 0), std::make_pair(0, 0));

    dispositius().web_inv_h = 1;
    EXPECT_EQ(punt(0, 100).first, 1024);
    dispositius().web_inv_v = 1;
    EXPECT_EQ(punt(640, 480), std::make_pair(0, 0));

    // Nothing seen: the point stays as the caller had it.
    s.p = {};
    int16_t x = 33, y = 44;
    EXPECT_EQ(omvis_posicio_pantalla(x, y), 0);
    EXPECT_EQ(x, 33);
    EXPECT_EQ(y, 44);
}

TEST_F(Mapatge, FarPointsAreClampedNotWrappedAndPointsWithoutImageKeepTheCoordinate) {
    // A steep map: points far out land tens of thousands of pixels away.
    dispositius().coeficients_calibracio = {0, 100, 0, 0, 0, -100, 0, 0, 0};
    EXPECT_EQ(punt(400, 400), std::make_pair(1024, 0));
    EXPECT_EQ(punt(2, 2), std::make_pair(320, 0));
    // K8·y + K7·x + 1 = 0 at y = 100: no image, the coordinates stay.
    dispositius().coeficients_calibracio = {0, 1, 0, 0, 0, 1, 0, 0, -0.01};
    EXPECT_EQ(punt(300, 100, 5, 6), std::make_pair(5, 6));
}
