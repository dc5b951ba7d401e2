#include "actions/visor_zones.h"

#include "actions/dimensionar.h"
#include "actions/model_zones.h"
#include "comuns/capes_visibles.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <vector>

namespace lumi {

namespace {
// The labels' white lets the background show through.
constexpr int ALFA = 150;
} // namespace

VisorZones::VisorZones(const Activitat& a, QWidget* pare) : QWidget(pare), a_(a) {
    setGeometry(pare->rect());
}

void VisorZones::escalar(QSize pantalla) {
    sx_ = double(width()) / std::max(1, pantalla.width());
    sy_ = double(height()) / std::max(1, pantalla.height());
    update();
}

QRect VisorZones::rect_etiqueta(int k) const {
    const zona& z = a_.zones[static_cast<size_t>(k)];
    const int x = dimensionar::arrodonir(z.esquerra * sx_);
    const int y = dimensionar::arrodonir(z.dalt * sy_);
    return QRect(x, y, std::max(1, dimensionar::arrodonir(z.dreta * sx_) - x),
                 std::max(1, dimensionar::arrodonir(z.baix * sy_) - y));
}

int VisorZones::etiqueta_a(QPoint p) const {
    for (int k = zona_darrera_nomenable(a_); k >= 1; --k)
        if (zona_dibuixada(a_.zones[static_cast<size_t>(k)]) && rect_etiqueta(k).contains(p)) return k;
    return 0;
}

void VisorZones::paintEvent(QPaintEvent* e) {
    CapesVisibles capes(rect(), e->region(), ALFA);
    std::vector<int> visibles;
    for (int k = zona_darrera_nomenable(a_); k >= 1 && !capes.tot_cobert(); --k)
        if (zona_dibuixada(a_.zones[static_cast<size_t>(k)]) && capes.mostra(rect_etiqueta(k), false))
            visibles.push_back(k);
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.setBrush(Qt::NoBrush);
    for (auto k = visibles.rbegin(); k != visibles.rend(); ++k) {
        // A framed label: the number in the middle, cut at the frame.
        const QRect r = rect_etiqueta(*k);
        p.fillRect(r, QColor(255, 255, 255, ALFA));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.drawText(r.adjusted(1, 1, -1, -1), Qt::AlignCenter, QString::number(*k));
    }
}

} // namespace lumi
