#include "player/capa_zones.h"

#include "comuns/capes_visibles.h"

#include <QEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QStyle>
#include <QStyleOption>

namespace lumi {

const QPixmap& ImatgesZones::operator()(const QString& fitxer) {
    if (fitxer == darrer_ && !fitxer.isEmpty()) return darrera_;
    auto it = llegides_.find(fitxer);
    if (it == llegides_.end()) it = llegides_.insert(fitxer, QPixmap::fromImage(llegir_(fitxer)));
    darrer_ = fitxer;
    darrera_ = *it;
    return darrera_;
}

CapaZones::CapaZones(QWidget* pare) : QWidget(pare), zones_(1) {
    setObjectName(QStringLiteral("I_zona"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setEnabled(false);
    setGeometry(pare->rect());
    pare->installEventFilter(this);
}

void CapaZones::crear_fins(int z) {
    if (z >= nombre()) zones_.resize(static_cast<size_t>(z) + 1);
}

void CapaZones::col_locar(int z, const QRect& r) {
    Zona& zn = zones_[static_cast<size_t>(z)];
    if (zn.rect == r) return;
    if (!zn.imatge.isNull()) update(zn.rect.united(r));
    zn.rect = r;
}

void CapaZones::posar_imatge(int z, const QPixmap& imatge) {
    Zona& zn = zones_[static_cast<size_t>(z)];
    if (zn.imatge.cacheKey() == imatge.cacheKey()) return;
    zn.imatge = imatge;
    // The whole layer, asked for once until it is painted: a new question
    // gives every zone its picture again.
    if (!zn.rect.isEmpty() && !pendent_) {
        pendent_ = true;
        update();
    }
}

void CapaZones::buidar() {
    for (Zona& zn : zones_)
        zn = Zona{};
    escalades_.clear();
    pixels_escalats_ = 0;
    pendent_ = false;
    hide();
}

bool CapaZones::eventFilter(QObject* o, QEvent* e) {
    if (o == parentWidget() && e->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return false;
}

const QPixmap& CapaZones::escalada(const QPixmap& imatge, QSize mida) {
    const auto clau = std::make_tuple(imatge.cacheKey(), mida.width(), mida.height());
    auto it = escalades_.find(clau);
    if (it != escalades_.end()) return it->second;
    // A few screens' worth at most: zones of many sizes scale again.
    const qint64 pixels = qint64(mida.width()) * mida.height();
    if (pixels_escalats_ + pixels > 8 * qint64(std::max(1, width())) * std::max(1, height())) {
        escalades_.clear();
        pixels_escalats_ = 0;
    }
    pixels_escalats_ += pixels;
    // As a disabled picture control draws it: scaled, then in disabled colours.
    QPixmap p =
        QPixmap::fromImage(imatge.toImage().scaled(mida, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    QStyleOption opcio;
    opcio.initFrom(this);
    p = style()->generatedIconPixmap(QIcon::Disabled, p, &opcio);
    return escalades_.emplace(clau, p).first->second;
}

void CapaZones::paintEvent(QPaintEvent* e) {
    pendent_ = false;
    // From the top down: the last zone lies over the others, and what opaque
    // pictures cover is not drawn.
    CapesVisibles capes(rect(), e->region());
    std::vector<int> visibles;
    for (int z = nombre() - 1; z >= 1 && !capes.tot_cobert(); --z) {
        const Zona& zn = zones_[static_cast<size_t>(z)];
        if (zn.imatge.isNull() || zn.rect.isEmpty()) continue;
        if (capes.mostra(zn.rect, !zn.imatge.hasAlphaChannel())) visibles.push_back(z);
    }
    QPainter p(this);
    const qint64 pantalla = qint64(width()) * height();
    for (auto it = visibles.rbegin(); it != visibles.rend(); ++it) {
        const Zona& zn = zones_[static_cast<size_t>(*it)];
        if (qint64(zn.rect.width()) * zn.rect.height() > 4 * pantalla) {
            // Far larger than the screen: scaled as it is drawn, so that no
            // picture of that size is ever made.
            const QPixmap& im = escalada(zn.imatge, zn.imatge.size());
            p.drawPixmap(QRectF(zn.rect), im, QRectF(im.rect()));
        } else {
            p.drawPixmap(zn.rect.topLeft(), escalada(zn.imatge, zn.rect.size()));
        }
    }
}

} // namespace lumi
