// The webcam: 640 x 480 frames for the live picture, the still and the colour
// tracker. One camera service shared by all of them: the first hold opens it,
// the last one closes it.
#pragma once

#include <QImage>
#include <QString>

namespace lumi::plataforma {

constexpr int AMPLADA_CAMERA = 640;
constexpr int ALCADA_CAMERA = 480;
// The longest an open waits for the device's first frame.
constexpr double ESPERA_CAMERA = 2.0;

class Camera {
  public:
    virtual ~Camera() = default;
    // The name of capture device `index` (from 0); empty when there is none.
    virtual QString descripcio(int index) = 0;
    // True when device `index` opens and gives a frame within ESPERA_CAMERA
    // seconds; opening the open camera again is harmless.
    virtual bool obrir(int index = 0) = 0;
    virtual void tancar() = 0;
    // Open and still giving frames (false once it went away).
    virtual bool oberta() = 0;
    // The current frame, 640 x 480; a null image when closed or gone.
    virtual QImage fotograma() = 0;
    // The name of the open device; empty when closed.
    virtual QString nom() = 0;
};

// Writes the current frame to `fitxer` as a BMP picture, whole or not at
// all; false when there is no frame or it cannot be written.
bool desar_fotografia(Camera& c, const QString& fitxer);
// The same for a frame already taken; a null one fails.
bool desar_bmp(const QImage& im, const QString& fitxer);

// The camera in use.
Camera& camera();
// Puts a camera in place; nullptr puts the machine's back. The caller keeps
// ownership. Holds on the previous camera are dropped.
void posar_camera(Camera* c);

// Holds on the camera in use: the first one opens device `index` (later ones
// share whatever device is open) and the last release closes it. False,
// and no hold taken, when the camera does not open.
bool agafar_camera(int index = 0);
void deixar_camera();
int reserves_camera();

} // namespace lumi::plataforma
