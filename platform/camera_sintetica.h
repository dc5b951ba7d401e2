// The synthetic camera: a coloured disc moving on a path over a background.
// The disc's place depends only on the seconds since the camera opened (on
// the platform clock), so a test with a scripted clock knows where it is in
// every frame. Plain by default; a scene can be made to look as a real
// camera gives it (shading, sensor noise, YUYV colour, other objects).
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

// A still disc of the scene besides the moving one.
struct DiscEscena {
    QPointF centre;
    double radi = 20;
    QColor color;
};

// One capture device as the camera lists it.
struct DispositiuCamera {
    QString nom;
    bool connecta = true;     // false: refuses to open (busy, or no format it can give)
    bool dona_imatges = true; // false: opens but no frame ever comes
};

// A frame through the YUYV 4:2:2 form most webcams send (two pixels share
// their colour) and back to RGB, as a V4L2 camera's frames arrive.
QImage per_yuyv(const QImage& im);

class CameraSintetica : public Camera, public DispositiuSintetic {
  public:
    // The disc goes round a rectangle in the middle of the frame, two seconds
    // a side, and starts again. One device.
    CameraSintetica();

    // Between two points the disc moves in a straight line; after the last
    // one it stays there, or with `repetir` the path starts again.
    std::vector<PuntCami> cami;
    bool repetir = true;
    QColor color_disc{255, 0, 0};
    QColor color_fons{48, 48, 48};
    int radi = 24;
    bool disc_visible = true;

    // The realistic scene: the disc's value falls off towards its edge, the
    // background holds a gradient of `fons_tons` bands, every channel gets
    // gaussian noise of `soroll` and the frame goes through YUYV.
    bool realista = false;
    std::vector<QColor> fons_tons;
    double soroll = 0;
    std::vector<DiscEscena> altres_discs;
    // A lit screen seen by the camera, under the discs: its four corners.
    std::vector<QPointF> pantalla;

    std::vector<DispositiuCamera> dispositius{{QStringLiteral("Càmera sintètica"), true, true}};

    QPointF posicio(double t) const;
    QImage dibuixar(double t) const;

    QString descripcio(int index) override;
    bool obrir(int index = 0) override;
    void tancar() override;
    bool oberta() override { return present(); }
    QImage fotograma() override;
    QString nom() override;

    int dispositiu_obert = -1;
    int obertures = 0; // successful opens, for tests that count them
};

} // namespace lumi::plataforma
