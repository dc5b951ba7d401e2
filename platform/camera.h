// The webcam: 640 x 480 frames for the live picture, the still and the colour
// tracker. No camera back end of the machine's own exists yet: until one is
// put in place the camera never opens, which every caller handles.
#pragma once

#include <QImage>
#include <QString>

namespace lumi::plataforma {

constexpr int AMPLADA_CAMERA = 640;
constexpr int ALCADA_CAMERA = 480;

class Camera {
  public:
    virtual ~Camera() = default;
    // True when a camera is there and gives frames; opening an open camera
    // is harmless.
    virtual bool obrir() = 0;
    virtual void tancar() = 0;
    // Open and still giving frames (false once it went away).
    virtual bool oberta() = 0;
    // The current frame, 640 x 480; a null image when closed or gone.
    virtual QImage fotograma() = 0;
};

// Writes the current frame to `fitxer` as a BMP picture, whole or not at
// all; false when there is no frame or it cannot be written.
bool desar_fotografia(Camera& c, const QString& fitxer);

// The camera in use.
Camera& camera();
// Puts a camera in place; nullptr puts the machine's back. The caller keeps
// ownership.
void posar_camera(Camera* c);

} // namespace lumi::plataforma
