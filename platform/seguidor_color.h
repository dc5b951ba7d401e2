// The colour tracker: where an object of the tracked colour is in the
// camera's frames. No tracker of the machine's own exists yet: until one is
// put in place it never starts, which every caller handles.
#pragma once

#include <QColor>
#include <QImage>
#include <cstdint>

namespace lumi::plataforma {

// A position in camera pixels: h from 0 to 640, v from 0 to 480.
struct PosicioColor {
    bool trobat = false;
    int16_t h = 0;
    int16_t v = 0;
};

// The centre of the pixels of `color` in a frame (each channel within
// `tolerancia`); not found when fewer than `minim` pixels have it.
PosicioColor trobar_color(const QImage& fotograma, const QColor& color, int tolerancia = 40, int minim = 20);

class SeguidorColor {
  public:
    virtual ~SeguidorColor() = default;
    // Starts tracking in `mode` (0 a still at a time, 1 continuous); false
    // when it could not start.
    virtual bool iniciar(int16_t mode) = 0;
    // Where the tracked colour is now; not found while stopped.
    virtual PosicioColor posicio() = 0;
    // Stops and frees the camera; harmless when not running.
    virtual void finalitzar() = 0;

    QColor color{255, 0, 0}; // the colour tracked
};

// The tracker in use.
SeguidorColor& seguidor_color();
// Puts a tracker in place; nullptr puts the machine's back. The caller keeps
// ownership.
void posar_seguidor_color(SeguidorColor* s);

} // namespace lumi::plataforma
