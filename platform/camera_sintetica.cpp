#include "camera_sintetica.h"

#include <QPainter>
#include <QStringList>
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
    QPainter p(&im);
    // Hard edges: every pixel is either the disc's colour or the background's.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(color_disc);
    p.drawEllipse(posicio(t), radi, radi);
    return im;
}

QImage CameraSintetica::fotograma() {
    double t = 0;
    if (!present(&t)) return {};
    return dibuixar(t);
}

} // namespace lumi::plataforma
