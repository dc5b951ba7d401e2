#include "platform/camera_sintetica.h"

#include <QPainter>
#include <QPolygonF>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <random>

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

namespace {

uint8_t sat(double v) {
    return static_cast<uint8_t>(std::clamp(std::lround(v), 0L, 255L));
}

// Paints a disc: hard-edged and flat, or shaded (full value at the centre,
// falling to about 60 % at the edge, with a soft rim of one pixel).
void pintar_disc(QImage& im, QPointF c, double r, QColor color, bool ombrejat) {
    const int y0 = std::max(0, static_cast<int>(std::floor(c.y() - r - 1)));
    const int y1 = std::min(im.height() - 1, static_cast<int>(std::ceil(c.y() + r + 1)));
    const int x0 = std::max(0, static_cast<int>(std::floor(c.x() - r - 1)));
    const int x1 = std::min(im.width() - 1, static_cast<int>(std::ceil(c.x() + r + 1)));
    const QRgb pla = color.rgb();
    for (int y = y0; y <= y1; ++y) {
        auto* fila = reinterpret_cast<QRgb*>(im.scanLine(y));
        for (int x = x0; x <= x1; ++x) {
            const double dx = x + 0.5 - c.x(), dy = y + 0.5 - c.y();
            const double d = std::sqrt(dx * dx + dy * dy);
            if (!ombrejat) {
                if (d * d <= r * r) fila[x] = pla;
                continue;
            }
            const double cobert = std::clamp(r - d + 0.5, 0.0, 1.0);
            if (cobert <= 0) continue;
            const double llum = 1.0 - 0.4 * std::min(1.0, d / r) * std::min(1.0, d / r);
            const QRgb f = fila[x];
            auto barreja = [&](int disc, int fons) {
                return sat(cobert * disc * llum + (1 - cobert) * fons);
            };
            fila[x] = qRgb(barreja(color.red(), qRed(f)), barreja(color.green(), qGreen(f)),
                           barreja(color.blue(), qBlue(f)));
        }
    }
}

} // namespace

QImage per_yuyv(const QImage& font) {
    QImage im = font.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < im.height(); ++y) {
        auto* fila = reinterpret_cast<QRgb*>(im.scanLine(y));
        for (int x = 0; x + 1 < im.width(); x += 2) {
            // BT.601, limited range, as webcams send it.
            double lluma[2], u = 0, v = 0;
            for (int k = 0; k < 2; ++k) {
                const QRgb p = fila[x + k];
                const double r = qRed(p), g = qGreen(p), b = qBlue(p);
                lluma[k] = std::round(16 + 0.257 * r + 0.504 * g + 0.098 * b);
                u += (128 - 0.148 * r - 0.291 * g + 0.439 * b) / 2;
                v += (128 + 0.439 * r - 0.368 * g - 0.071 * b) / 2;
            }
            u = std::round(u);
            v = std::round(v);
            for (int k = 0; k < 2; ++k) {
                const double c = 1.164 * (lluma[k] - 16), d = u - 128, e = v - 128;
                fila[x + k] = qRgb(sat(c + 1.596 * e), sat(c - 0.392 * d - 0.813 * e), sat(c + 2.017 * d));
            }
        }
    }
    return im;
}

QImage CameraSintetica::dibuixar(double t) const {
    QImage im(AMPLADA_CAMERA, ALCADA_CAMERA, QImage::Format_RGB32);
    if (realista && !fons_tons.empty()) {
        // Vertical bands of the background's tones, each a soft gradient.
        const int n = static_cast<int>(fons_tons.size());
        for (int y = 0; y < im.height(); ++y) {
            auto* fila = reinterpret_cast<QRgb*>(im.scanLine(y));
            for (int x = 0; x < im.width(); ++x) {
                const QColor& c = fons_tons[static_cast<size_t>(x * n / im.width())];
                const double f = 0.75 + 0.25 * y / im.height();
                fila[x] = qRgb(sat(c.red() * f), sat(c.green() * f), sat(c.blue() * f));
            }
        }
    } else {
        im.fill(color_fons);
    }
    if (pantalla.size() == 4) {
        QPainter p(&im);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(225, 225, 215));
        p.drawPolygon(QPolygonF(QList<QPointF>(pantalla.begin(), pantalla.end())));
    }
    for (const DiscEscena& d : altres_discs)
        pintar_disc(im, d.centre, d.radi, d.color, realista);
    if (disc_visible) pintar_disc(im, posicio(t), radi, color_disc, realista);
    if (!realista) return im;
    if (soroll > 0) {
        // The same noise for the same moment, so a test sees one frame twice.
        std::mt19937 gen(static_cast<uint32_t>(std::llround(t * 1000)) + 1u);
        std::normal_distribution<double> n(0, soroll);
        for (int y = 0; y < im.height(); ++y) {
            auto* fila = reinterpret_cast<QRgb*>(im.scanLine(y));
            for (int x = 0; x < im.width(); ++x) {
                const QRgb p = fila[x];
                fila[x] = qRgb(sat(qRed(p) + n(gen)), sat(qGreen(p) + n(gen)), sat(qBlue(p) + n(gen)));
            }
        }
    }
    return per_yuyv(im);
}

QString CameraSintetica::descripcio(int index) {
    if (index < 0 || index >= static_cast<int>(dispositius.size())) return {};
    return dispositius[static_cast<size_t>(index)].nom;
}

bool CameraSintetica::obrir(int index) {
    if (obert_ && present()) return true;
    if (index < 0 || index >= static_cast<int>(dispositius.size())) return false;
    const DispositiuCamera& d = dispositius[static_cast<size_t>(index)];
    // A device that gives no frame fails as the real one does after its wait.
    if (!d.connecta || !d.dona_imatges) return false;
    if (!obrir_dispositiu()) return false;
    dispositiu_obert = index;
    ++obertures;
    return true;
}

void CameraSintetica::tancar() {
    tancar_dispositiu();
    dispositiu_obert = -1;
}

QString CameraSintetica::nom() {
    return present() ? descripcio(dispositiu_obert) : QString();
}

QImage CameraSintetica::fotograma() {
    double t = 0;
    if (!present(&t)) return {};
    return dibuixar(t);
}

} // namespace lumi::plataforma
