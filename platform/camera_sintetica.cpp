#include "platform/camera_sintetica.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace lumi::plataforma {

std::optional<std::vector<PuntCami>> llegir_cami(const QString& text) {
    std::vector<PuntCami> cami;
    for (const QString& punt : text.split(u';', Qt::SkipEmptyParts)) {
        const QStringList n = punt.simplified().split(u' ');
        if (n.size() != 3) return std::nullopt;
        bool ok[3];
        const PuntCami p{n[0].toDouble(&ok[0]), QPointF(n[1].toDouble(&ok[1]), n[2].toDouble(&ok[2]))};
        if (!ok[0] || !ok[1] || !ok[2] || p.t < 0) return std::nullopt;
        if (!cami.empty() && p.t < cami.back().t) return std::nullopt;
        cami.push_back(p);
    }
    if (cami.empty()) return std::nullopt;
    return cami;
}

CameraSintetica::CameraSintetica()
    : cami{{0, {160, 120}}, {2, {480, 120}}, {4, {480, 360}}, {6, {160, 360}}, {8, {160, 120}}} {}

QPointF CameraSintetica::posicio(double t) const {
    if (cami.empty()) return {AMPLADA_CAMERA / 2.0, ALCADA_CAMERA / 2.0};
    const double durada = cami.back().t;
    if (repetir && durada > 0 && t > durada) t = std::fmod(t, durada);
    if (t <= cami.front().t) return cami.front().centre;
    for (size_t i = 1; i < cami.size(); ++i) {
        const PuntCami& a = cami[i - 1];
        const PuntCami& b = cami[i];
        if (t > b.t) continue;
        const double f = b.t > a.t ? (t - a.t) / (b.t - a.t) : 1.0;
        return a.centre + (b.centre - a.centre) * f;
    }
    return cami.back().centre;
}

QImage CameraSintetica::dibuixar(double t) const {
    QImage im(AMPLADA_CAMERA, ALCADA_CAMERA, QImage::Format_RGB32);
    im.fill(color_fons);
    // Hard edges, the same on every side: a pixel is the disc's when its
    // centre lies inside the circle.
    const QPointF c = posicio(t);
    const QRgb disc = color_disc.rgb();
    const int y0 = std::max(0, static_cast<int>(std::floor(c.y() - radi)));
    const int y1 = std::min(ALCADA_CAMERA - 1, static_cast<int>(std::ceil(c.y() + radi)));
    const int x0 = std::max(0, static_cast<int>(std::floor(c.x() - radi)));
    const int x1 = std::min(AMPLADA_CAMERA - 1, static_cast<int>(std::ceil(c.x() + radi)));
    for (int y = y0; y <= y1; ++y) {
        auto* fila = reinterpret_cast<QRgb*>(im.scanLine(y));
        for (int x = x0; x <= x1; ++x) {
            const double dx = x + 0.5 - c.x(), dy = y + 0.5 - c.y();
            if (dx * dx + dy * dy <= static_cast<double>(radi) * radi) fila[x] = disc;
        }
    }
    return im;
}

QImage CameraSintetica::fotograma() {
    double t = 0;
    if (!present(&t)) return {};
    return dibuixar(t);
}

} // namespace lumi::plataforma
