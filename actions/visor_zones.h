// The numbered zone labels of a zone preview on the mouse and webcam pages,
// all painted by one widget over the preview's background: a label per
// drawn zone an item can name (1 to 255) over the zone's rectangle, scaled
// from the screen to the preview, translucent, the later ones on top; a
// paint draws only the labels that still show.
#pragma once

#include "core/activitat.h"

#include <QSize>
#include <QWidget>

namespace lumi {

class VisorZones : public QWidget {
  public:
    VisorZones(const Activitat& a, QWidget* pare);
    // The screen the zone coordinates are pixels of.
    void escalar(QSize pantalla);
    // The label of zone k in the preview, and the zone whose label a press
    // at p lands on, or 0.
    QRect rect_etiqueta(int k) const;
    int etiqueta_a(QPoint p) const;

  protected:
    void paintEvent(QPaintEvent* e) override;

  private:
    const Activitat& a_;
    double sx_ = 1, sy_ = 1;
};

} // namespace lumi
