#include "actions/tela_zones.h"

#include "actions/ACCIONS.h"
#include "actions/model_zones.h"
#include "comuns/capes_visibles.h"
#include "core/camins.h"
#include "platform/cursor_confinament.h"
#include "platform/finestres.h"
#include "platform/imatges.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdint>

namespace lumi {

TelaZones::TelaZones(ACCIONS* form) : QWidget(form, Qt::Window | Qt::FramelessWindowHint), form_(form) {
    setObjectName(QStringLiteral("tela_zones"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void TelaZones::mostrar() {
    // As the player's window during a run.
    plataforma::cobrir_escriptori(this);
}

const QImage& TelaZones::imatge(const QString& fitxer) {
    auto it = imatges_.find(fitxer);
    if (it == imatges_.end())
        it = imatges_.insert(fitxer, fitxer.isEmpty() ? QImage()
                                                      : plataforma::carregar_imatge(resoldre_fitxer(fitxer)));
    return *it;
}

const QImage& TelaZones::comodi() {
    static const QImage c(QStringLiteral(":/zones/comodi.png"));
    return c;
}

QRect TelaZones::rect_imatge(int k) const {
    return rectangle_zona(form_->model.a.zones[static_cast<size_t>(k)], 1);
}

QRect TelaZones::rect_etiqueta(int k, const QFontMetrics& fm) const {
    const zona& z = form_->model.a.zones[static_cast<size_t>(k)];
    // The top left corner at the zone's centre; a frame and a margin of one
    // pixel round the number, and the width of an "x" beside it, as a
    // framed label takes.
    const QPoint centre(dimensionar::arrodonir(z.esquerra + (double(z.dreta) - z.esquerra) / 2),
                        dimensionar::arrodonir(z.dalt + (double(z.baix) - z.dalt) / 2));
    // Digit by digit: shaping tens of thousands of numbers at every paint
    // would cost more than the paint.
    int ample = fm.horizontalAdvance(u'x') + 2;
    for (int n = k; n > 0; n /= 10)
        ample += fm.horizontalAdvance(QChar(u'0' + n % 10));
    return QRect(centre, QSize(ample, fm.height() + 4));
}

int TelaZones::etiqueta_a(QPoint p) const {
    const Activitat& a = form_->model.a;
    const QFontMetrics fm(font());
    for (int k = zona_darrera(a); k >= 1; --k)
        if (zona_dibuixada(a.zones[static_cast<size_t>(k)]) && rect_etiqueta(k, fm).contains(p)) return k;
    return 0;
}

int TelaZones::imatge_a(QPoint p) const {
    const Activitat& a = form_->model.a;
    const int maxim = zona_darrera(a);
    // Later pictures lie over earlier ones; the selected one is hidden.
    for (int k = maxim; k >= 1; --k) {
        if (k == form_->zona_seleccionada() || !zona_dibuixada(a.zones[static_cast<size_t>(k)])) continue;
        if (rect_imatge(k).contains(p)) return k;
    }
    return 0;
}

void TelaZones::pintar_imatge(QPainter& p, const QString& fitxer, const QImage& img, const QRect& r) {
    if (img.isNull() || r.width() <= 0 || r.height() <= 0) return;
    if (int64_t(r.width()) * r.height() > 4 * int64_t(width()) * height()) {
        // Far larger than the screen: scaled as it is drawn, so that no
        // picture of that size is ever made.
        p.drawImage(QRectF(r), img);
        return;
    }
    // Scaled once per size: a drag repaints the whole screen every move.
    const QString clau = fitxer + u'|' + QString::number(r.width()) + u'x' + QString::number(r.height());
    auto it = escalades_.find(clau);
    if (it == escalades_.end()) {
        if (escalades_.size() > 256) escalades_.clear();
        it = escalades_.insert(
            clau, QPixmap::fromImage(img.scaled(r.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    }
    p.drawPixmap(r.topLeft(), *it);
}

void TelaZones::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    const Activitat& a = form_->model.a;
    p.fillRect(rect(), palette().window());
    if (form_->estat_zones == 0) return;
    const int maxim = zona_darrera(a);
    const int sel = form_->zona_seleccionada();
    const QFontMetrics fm(font());
    // From the top down: the number labels lie over everything, then the
    // pictures, the last on top; what opaque ones cover is not drawn.
    CapesVisibles capes(rect(), e->region());
    std::vector<int> etiquetes, zones;
    for (int k = maxim; k >= 1 && !capes.tot_cobert(); --k)
        if (zona_dibuixada(a.zones[static_cast<size_t>(k)]) && capes.mostra(rect_etiqueta(k, fm), true))
            etiquetes.push_back(k);
    for (int k = maxim; k >= 1 && !capes.tot_cobert(); --k) {
        const zona& z = a.zones[static_cast<size_t>(k)];
        if (k == sel || !zona_dibuixada(z)) continue;
        // The outline takes a pixel more than the zone right and down.
        const QImage& im = imatge(z.imatge);
        if (capes.mostra(rectangle_zona(z, 0).adjusted(0, 0, 1, 1), !im.isNull() && !im.hasAlphaChannel()))
            zones.push_back(k);
    }
    if (!a.fitxer_imatge_fons.isEmpty())
        pintar_imatge(p, a.fitxer_imatge_fons, imatge(a.fitxer_imatge_fons), rect());
    for (auto k = zones.rbegin(); k != zones.rend(); ++k) {
        const zona& z = a.zones[static_cast<size_t>(*k)];
        // A zone without a readable picture shows its outline only.
        pintar_imatge(p, z.imatge, imatge(z.imatge), rect_imatge(*k));
        p.setPen(QPen(Qt::black, 0));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rectangle_zona(z, 0));
    }
    if (sel > 0 && form_->picFlag_visible) {
        // While a drag lasts the picture stays put and a frame follows the pointer.
        const zona_rect& m = form_->arrossegant ? form_->marc_inici : form_->marc;
        pintar_imatge(p, QStringLiteral("picFlag"), form_->picFlag, QRect(m.x, m.y, m.amplada, m.alcada));
        if (form_->arrossegant) {
            p.setPen(QPen(Qt::black, 0, Qt::DotLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(form_->marc.x, form_->marc.y, form_->marc.amplada, form_->marc.alcada);
        } else {
            dimensionar::zona_dibuixar_nanses(form_->marc, p);
        }
    }
    if (form_->estat_zones == 2) {
        const zona& n = form_->zona_nova;
        p.setPen(QPen(Qt::black, 0, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(QPoint(n.esquerra, n.dalt), QPoint(n.dreta, n.baix)).normalized());
    }
    p.setPen(palette().color(QPalette::WindowText));
    p.setBrush(Qt::NoBrush);
    const int sagnat = std::max(0, fm.horizontalAdvance(u'x') / 2 - 1);
    for (auto k = etiquetes.rbegin(); k != etiquetes.rend(); ++k) {
        const QRect r = rect_etiqueta(*k, fm);
        p.fillRect(r, *k == sel ? QColor(255, 255, 0) : QColor(255, 255, 255));
        p.drawRect(r.adjusted(0, 0, -1, -1));
        p.drawText(r.adjusted(2 + sagnat, 2, -2, -2), Qt::AlignLeft | Qt::AlignVCenter, QString::number(*k));
    }
}

void TelaZones::mousePressEvent(QMouseEvent* e) {
    // The labels lie over everything.
    if (const int n = etiqueta_a(e->position().toPoint())) {
        form_->nzona_MouseDown(n, e->button(), e->globalPosition().toPoint());
        return;
    }
    const int k = imatge_a(e->position().toPoint());
    if (k > 0 && form_->estat_zones != 2 && !form_->arrossegant) {
        form_->nzona_MouseDown(k, e->button(), e->globalPosition().toPoint());
        return;
    }
    form_->Form_MouseDown(e->button(), e->position());
}

void TelaZones::mouseMoveEvent(QMouseEvent* e) {
    form_->Form_MouseMove(e->buttons(), e->position());
}

void TelaZones::mouseReleaseEvent(QMouseEvent* e) {
    form_->Form_MouseUp(e->button(), e->position());
}

void TelaZones::closeEvent(QCloseEvent* e) {
    // Closing the canvas leaves the editor as "Sortir" does.
    e->ignore();
    if (form_->estat_zones != 0) form_->mn_zona_Click(4);
}

bool TelaZones::event(QEvent* e) {
    if (e->type() == QEvent::WindowDeactivate || e->type() == QEvent::FocusOut) {
        // A drag never outlives the focus: the pointer is set free.
        if (form_->arrossegant) form_->Form_MouseUp(Qt::LeftButton, mapFromGlobal(QCursor::pos()));
    }
    return QWidget::event(e);
}

} // namespace lumi
