// The colour tracker: where an object of the tracked colour is in the
// camera's frames. Ours finds the largest blob of the chosen colour on a
// worker thread; its colour settings live in the program ini.
#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

namespace lumi::plataforma {

// A position in camera pixels: h from 0 to 640, v from 0 to 480.
struct PosicioColor {
    bool trobat = false;
    int16_t h = 0;
    int16_t v = 0;
};

// What counts as the tracked colour.
struct ParametresColor {
    int to = 0;                // hue, degrees 0 to 359
    int tolerancia_to = 20;    // degrees either side, circular
    int saturacio_minima = 90; // 0 to 255
    int valor_minim = 60;      // 0 to 255
    int area_minima = 60;      // pixels of the blob after the opening
    bool operator==(const ParametresColor&) const = default;
};

// Section "OMBRAVISOR" of the program ini; missing keys keep the defaults.
ParametresColor llegir_parametres_color();
bool desar_parametres_color(const ParametresColor& p);
// The settings that pick the colour of a sample around its median pixel.
ParametresColor parametres_de_mostra(const QImage& im, QPoint centre, const ParametresColor& actuals);

// One frame's answer: the largest blob of the colour (after an opening
// against speckle) and its centre in 640 x 480 units. With `mascara`, also
// the pixels that passed, one byte each (row by row), for showing.
class AnalitzadorColor {
  public:
    PosicioColor analitzar(const QImage& fotograma, const ParametresColor& p,
                           std::vector<uint8_t>* mascara = nullptr);

  private:
    void preparar_taula(const ParametresColor& p);
    std::vector<uint8_t> taula_; // 64 x 64 x 64 colours: 1 when the colour passes
    ParametresColor taula_per_;
    bool taula_feta_ = false;
    std::vector<uint8_t> m_, tmp_;
};

class SeguidorColor {
  public:
    virtual ~SeguidorColor() = default;
    // Starts tracking in `mode` (1 every frame, anything else at most ten a
    // second); false when it could not start.
    virtual bool iniciar(int16_t mode) = 0;
    // Where the tracked colour is now; not found while stopped.
    virtual PosicioColor posicio() = 0;
    // Stops and frees the camera; harmless when not running.
    virtual void finalitzar() = 0;
    // The colour settings in use; a running tracker takes them at once.
    virtual void posar_parametres(const ParametresColor& p) = 0;
    virtual ParametresColor parametres() const = 0;
};

// The tracker in use.
SeguidorColor& seguidor_color();
// Puts a tracker in place; nullptr puts ours back. The caller keeps
// ownership.
void posar_seguidor_color(SeguidorColor* s);

} // namespace lumi::plataforma
