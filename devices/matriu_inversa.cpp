#include "devices/matriu_inversa.h"

#include "core/activitat.h"
#include "core/fitxer_lrq.h"
#include "core/idioma.h"
#include "core/vb.h"
#include "platform/carpetes.h"
#include "platform/ini.h"

#include <QDate>
#include <QLocale>
#include <cmath>

namespace lumi {

namespace {

const QString SECCIO = QStringLiteral("WEBCAM");

// A key read as the forms runtime reads a number; missing, empty or beyond
// 16 bits leaves the value as it was.
void llegir_clau(const QString& fitxer, const char* clau, int16_t& valor) {
    const QString text = plataforma::ini_llegir(fitxer, SECCIO, QLatin1String(clau));
    if (text.isEmpty()) return;
    if (auto v = a_enter16(valor_inicial(text))) valor = *v;
}

plataforma::ClauValor clau_valor(const char* clau, int16_t valor) {
    return {QLatin1String(clau), QString::number(valor)};
}

// Where corner c (1 to 4) goes in the 640 x 480 frame.
constexpr double DESTI_X[5] = {0, 0, 640, 640, 0};
constexpr double DESTI_Y[5] = {0, 0, 0, 480, 480};

} // namespace

void webcam_ini_desar() {
    const EstatDispositius& d = dispositius();
    plataforma::ini_escriure(plataforma::fitxer_ini_programa(), SECCIO,
                             {clau_valor("web_inv_v", d.web_inv_v), clau_valor("web_inv_h", d.web_inv_h),
                              clau_valor("wc_modus", d.wc_modus), clau_valor("wc_retard", d.wc_retard)});
}

void webcam_ini_llegir() {
    EstatDispositius& d = dispositius();
    const QString f = plataforma::fitxer_ini_programa();
    llegir_clau(f, "web_inv_v", d.web_inv_v);
    llegir_clau(f, "web_inv_h", d.web_inv_h);
    llegir_clau(f, "wc_modus", d.wc_modus);
    llegir_clau(f, "wc_retard", d.wc_retard);
}

namespace {
constexpr const char* CLAUS_CANTONS[8] = {"x1", "y1", "x2", "y2", "x3", "y3", "x4", "y4"};
} // namespace

void calibracio_punts_llegir(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2, int16_t& x3, int16_t& y3,
                             int16_t& x4, int16_t& y4) {
    const QString f = plataforma::fitxer_ini_programa();
    int16_t* valors[8] = {&x1, &y1, &x2, &y2, &x3, &y3, &x4, &y4};
    for (size_t i = 0; i < 8; ++i)
        llegir_clau(f, CLAUS_CANTONS[i], *valors[i]);
}

void calibracio_punts_desar(int16_t x1, int16_t y1, int16_t x2, int16_t y2, int16_t x3, int16_t y3,
                            int16_t x4, int16_t y4) {
    // The date and the corners in one write: a calibration is stored whole.
    QList<plataforma::ClauValor> claus{
        {QStringLiteral("data"), QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat)}};
    const int16_t valors[8] = {x1, y1, x2, y2, x3, y3, x4, y4};
    for (size_t i = 0; i < 8; ++i)
        claus.append(clau_valor(CLAUS_CANTONS[i], valors[i]));
    plataforma::ini_escriure(plataforma::fitxer_ini_programa(), SECCIO, claus);
}

bool calibracio_matriu_omplir() {
    EstatDispositius& d = dispositius();
    d.matriu_a = {};
    const QString f = plataforma::fitxer_ini_programa();
    if (plataforma::ini_llegir(f, SECCIO, QStringLiteral("DATA")).isEmpty()) return false;
    CantonsCalibracio c;
    calibracio_punts_llegir(c.x1, c.y1, c.x2, c.y2, c.x3, c.y3, c.x4, c.y4);
    webcam_ini_llegir();
    const int16_t xs[5] = {0, c.x1, c.x2, c.x3, c.x4};
    const int16_t ys[5] = {0, c.y1, c.y2, c.y3, c.y4};
    for (int k = 1; k <= 4; ++k) {
        const double x = xs[k], y = ys[k];
        const int ex = 2 * k - 1, ey = 2 * k;
        d.matriu_a[1][ex] = x;
        d.matriu_a[2][ex] = y;
        d.matriu_a[3][ex] = 1;
        d.matriu_a[7][ex] = -DESTI_X[k] * x;
        d.matriu_a[8][ex] = -DESTI_X[k] * y;
        d.matriu_a[4][ey] = x;
        d.matriu_a[5][ey] = y;
        d.matriu_a[6][ey] = 1;
        d.matriu_a[7][ey] = -DESTI_Y[k] * x;
        d.matriu_a[8][ey] = -DESTI_Y[k] * y;
    }
    return true;
}

int16_t matriu_pivot_buscar(int16_t fila, int16_t columna) {
    const auto& b = dispositius().matriu_b;
    for (int r = fila; r <= 8; ++r)
        if (b[r][columna] != 0) return static_cast<int16_t>(r);
    return 0;
}

int16_t matriu_files_intercanviar(int16_t a, int16_t b) {
    auto& m = dispositius().matriu_b;
    for (int j = 1; j <= 16; ++j)
        std::swap(m[a][j], m[b][j]);
    return 0;
}

bool matriu_invertir() {
    EstatDispositius& d = dispositius();
    auto& b = d.matriu_b;
    b = {};
    for (int i = 1; i <= 8; ++i) {
        for (int j = 1; j <= 8; ++j)
            b[i][j] = d.matriu_a[i][j];
        b[i][8 + i] = 1;
    }
    for (int k = 1; k <= 8; ++k) {
        // Only an exact zero is swapped away; a small pivot is used as it is.
        if (b[k][k] == 0) {
            const int16_t r = matriu_pivot_buscar(static_cast<int16_t>(k), static_cast<int16_t>(k));
            // No row left with a non-zero element: the system has no inverse.
            if (r == 0) return false;
            matriu_files_intercanviar(static_cast<int16_t>(k), r);
        }
        const double pivot = b[k][k];
        for (int j = k; j <= 16; ++j)
            b[k][j] /= pivot;
        for (int i = 1; i <= 8; ++i) {
            if (i == k) continue;
            const double f = b[i][k];
            for (int j = 1; j <= 16; ++j)
                b[i][j] -= f * b[k][j];
        }
    }
    return true;
}

void calibracio_coeficients() {
    EstatDispositius& d = dispositius();
    d.coeficients_calibracio = {};
    const auto& c = d.matriu_c;
    for (int u = 1; u <= 8; ++u)
        d.coeficients_calibracio[u] = 640 * c[3][u] + 640 * c[5][u] + 480 * c[6][u] + 480 * c[8][u];
}

int16_t calibracio_calcular() {
    if (!calibracio_matriu_omplir()) return FALS;
    EstatDispositius& d = dispositius();
    if (!matriu_invertir()) {
        // Four corners that give no map: told in the words every language
        // uses for it, and no coefficients are made from a half inversion.
        if (avis_usuari()) avis_usuari()(tradueix(QStringLiteral("matriu_inversa|inestable")));
        return FALS;
    }
    d.matriu_c = {};
    for (int i = 1; i <= 8; ++i)
        for (int j = 1; j <= 8; ++j)
            d.matriu_c[i][j] = d.matriu_b[i][j + 8];
    calibracio_coeficients();
    return CERT;
}

namespace {
// (a·y + b·x + c) / (K8·y + K7·x + 1); NaN where the divisor is 0.
double mapa(int ka, int kb, int kc, int16_t x, int16_t y) {
    const auto& k = dispositius().coeficients_calibracio;
    const double xd = x, yd = y;
    const double divisor = k[8] * yd + k[7] * xd + 1;
    if (divisor == 0) return std::nan("");
    return (k[ka] * yd + k[kb] * xd + k[kc]) / divisor;
}
} // namespace

double calibracio_x(int16_t x, int16_t y) {
    return mapa(2, 1, 3, x, y);
}

double calibracio_y(int16_t x, int16_t y) {
    return mapa(5, 4, 6, x, y);
}

} // namespace lumi
