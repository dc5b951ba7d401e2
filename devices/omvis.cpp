#include "devices/omvis.h"

#include "core/activitat.h"
#include "core/fitxer_lrq.h"
#include "core/vb.h"
#include "devices/matriu_inversa.h"
#include "devices/mvfw.h"
#include "platform/camera.h"
#include "platform/carpetes.h"
#include "platform/seguidor_color.h"

#include <QDir>
#include <QFile>
#include <cmath>

namespace lumi {

int16_t OVSInicialitza(int16_t mode) {
    return plataforma::seguidor_color().iniciar(mode) ? 1 : 0;
}

int16_t OVSObtenirPosicio(int16_t& v, int16_t& h) {
    const plataforma::PosicioColor p = plataforma::seguidor_color().posicio();
    if (!p.trobat) return 0;
    v = p.v;
    h = p.h;
    return 1;
}

void OVSFinalitza() {
    plataforma::seguidor_color().finalitzar();
}

int16_t omvis_iniciar(int16_t modus) {
    EstatDispositius& d = dispositius();
    if (d.omvis_estat >= 1) return 0;
    const int16_t r = OVSInicialitza(modus);
    if (r == 0) d.omvis_estat = 1;
    return r;
}

namespace {
// A mapped coordinate on a screen of `mida` pixels: floored and kept on the
// screen, the far edge included; a coordinate with no image leaves `actual`.
int16_t a_pantalla(double mapat, int mida, double escala, int16_t actual) {
    const double v = std::floor(mapat * mida / escala);
    if (!std::isfinite(v)) return actual;
    return static_cast<int16_t>(std::clamp(v, 0.0, static_cast<double>(mida)));
}
} // namespace

int16_t omvis_posicio_pantalla(int16_t& x, int16_t& y) {
    int16_t v = 0, h = 0;
    const int16_t r = OVSObtenirPosicio(v, h);
    if (r != 1) return r;
    const EstatDispositius& d = dispositius();
    if (d.web_inv_v == 1) v = static_cast<int16_t>(480 - v);
    if (d.web_inv_h == 1) h = static_cast<int16_t>(640 - h);
    const QRect pantalla = escriptori_actual() ? escriptori_actual()() : QRect();
    const int W = pantalla.width(), H = pantalla.height();
    // The horizontal camera coordinate is the map's first argument.
    x = a_pantalla(calibracio_x(h, v), W, 640, x);
    y = a_pantalla(calibracio_y(h, v), H, 480, y);
    return r;
}

int32_t captura_obrir(int32_t pare) {
    EstatDispositius& d = dispositius();
    for (int16_t i = 0; i <= 8; ++i) {
        QString nom, versio;
        if (!capGetDriverDescriptionA(i, nom, versio)) continue;
        // The view comes before the connection and serves every device tried.
        if (d.captura_hwnd == 0)
            d.captura_hwnd = capCreateCaptureWindowA(QStringLiteral("VB CAP WINDOW"), 0, 0, 640, 480, pare);
        if (!capDriverConnect(d.captura_hwnd, i)) continue;
        capPreviewRate(d.captura_hwnd, 66);
        capPreview(d.captura_hwnd, true);
        return 1;
    }
    if (d.captura_hwnd != 0) {
        DestroyWindow(d.captura_hwnd);
        d.captura_hwnd = 0;
    }
    return 0;
}

void captura_tancar() {
    EstatDispositius& d = dispositius();
    capDriverDisconnect(d.captura_hwnd);
    if (d.captura_hwnd != 0) {
        DestroyWindow(d.captura_hwnd);
        d.captura_hwnd = 0;
    }
}

QString fitxer_fotografia() {
    return QDir(plataforma::carpeta_programa()).filePath(QStringLiteral("tmp.bmp"));
}

bool fotografia_desar(int32_t hwnd) {
    const bool desat = capGrabFrame(hwnd) && capFileSaveDIB(hwnd, fitxer_fotografia());
    if (!desat) QFile::remove(fitxer_fotografia());
    return desat;
}

bool captura_fotografia(int32_t pare) {
    if (captura_obrir(pare) == 0) {
        // No picture of an earlier moment passes for this one.
        QFile::remove(fitxer_fotografia());
        return false;
    }
    const bool desat = fotografia_desar(dispositius().captura_hwnd);
    captura_tancar();
    return desat;
}

} // namespace lumi
