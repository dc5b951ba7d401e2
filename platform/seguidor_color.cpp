#include "platform/seguidor_color.h"

#include "platform/camera.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace lumi::plataforma {

namespace {

class SeguidorAbsent final : public SeguidorColor {
  public:
    bool iniciar(int16_t) override { return false; }
    PosicioColor posicio() override { return {}; }
    void finalitzar() override {}
};

SeguidorColor* g_seguidor = nullptr;

} // namespace

PosicioColor trobar_color(const QImage& fotograma, const QColor& color, int tolerancia, int minim) {
    if (fotograma.isNull()) return {};
    const QImage im = fotograma.convertToFormat(QImage::Format_RGB32);
    const int r = color.red(), g = color.green(), b = color.blue();
    int64_t suma_x = 0, suma_y = 0, n = 0;
    for (int y = 0; y < im.height(); ++y) {
        const auto* fila = reinterpret_cast<const QRgb*>(im.constScanLine(y));
        for (int x = 0; x < im.width(); ++x) {
            const QRgb p = fila[x];
            if (std::abs(qRed(p) - r) <= tolerancia && std::abs(qGreen(p) - g) <= tolerancia &&
                std::abs(qBlue(p) - b) <= tolerancia) {
                suma_x += x;
                suma_y += y;
                ++n;
            }
        }
    }
    if (n < minim || n == 0) return {};
    // Pixel x covers x to x + 1: its centre is x + 0.5.
    auto centre = [n](int64_t suma, int maxim) {
        const double c = static_cast<double>(suma) / static_cast<double>(n) + 0.5;
        return static_cast<int16_t>(std::clamp<long>(std::lround(c), 0, maxim));
    };
    return {true, centre(suma_x, AMPLADA_CAMERA), centre(suma_y, ALCADA_CAMERA)};
}

SeguidorColor& seguidor_color() {
    static SeguidorAbsent absent;
    return g_seguidor ? *g_seguidor : absent;
}

void posar_seguidor_color(SeguidorColor* s) {
    g_seguidor = s;
}

} // namespace lumi::plataforma
