// The synthetic camera: a coloured disc moving on a path over a plain
// background. The disc's place depends only on the seconds since the camera
// opened (on the platform clock), so a test with a scripted clock knows where
// it is in every frame.
#pragma once

#include "platform/camera.h"
#include "platform/dispositiu_sintetic.h"

#include <QColor>
#include <QPointF>
#include <optional>
#include <vector>

namespace lumi::plataforma {

// The disc's centre, in camera pixels, at `t` seconds.
struct PuntCami {
    double t = 0;
    QPointF centre;
};

// A path written "T X Y;T X Y;...": times in seconds, not decreasing, from 0.
// Nothing when it is not that.
std::optional<std::vector<PuntCami>> llegir_cami(const QString& text);

class CameraSintetica : public Camera, public DispositiuSintetic {
  public:
    // The disc goes round a rectangle in the middle of the frame, two seconds
    // a side, and starts again.
    CameraSintetica();

    // Between two points the disc moves in a straight line; after the last
    // one it stays there, or with `repetir` the path starts again.
    std::vector<PuntCami> cami;
    bool repetir = true;
    QColor color_disc{255, 0, 0};
    QColor color_fons{48, 48, 48};
    int radi = 24;

    QPointF posicio(double t) const;
    QImage dibuixar(double t) const;

    bool obrir() override { return obrir_dispositiu(); }
    void tancar() override { tancar_dispositiu(); }
    bool oberta() override { return present(); }
    QImage fotograma() override;
};

} // namespace lumi::plataforma
