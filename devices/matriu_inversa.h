// The webcam settings and calibration corners in the program ini, and the
// projective map that sends the four marked camera corners onto a 640 x 480
// frame.
#pragma once

#include <cstdint>

namespace lumi {

// The corners as stored: top-left, top-right, bottom-right, bottom-left.
struct CantonsCalibracio {
    int16_t x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0, x4 = 0, y4 = 0;
};

// Section "WEBCAM": the four tracker settings of the device state.
void webcam_ini_desar();
void webcam_ini_llegir();
// The corners; a key that is missing, empty or beyond 16 bits keeps its value.
void calibracio_punts_llegir(int16_t& x1, int16_t& y1, int16_t& x2, int16_t& y2, int16_t& x3, int16_t& y3,
                             int16_t& x4, int16_t& y4);
// Writes today's date under "data", then the corners.
void calibracio_punts_desar(int16_t x1, int16_t y1, int16_t x2, int16_t y2, int16_t x3, int16_t y3,
                            int16_t x4, int16_t y4);

// Rebuilds the map from the stored corners; -1 (True) when built, 0 when no
// calibration is stored or the corners give no map (the user is told).
int16_t calibracio_calcular();
// The steps of the build, on the device state's arrays.
bool calibracio_matriu_omplir();
// False when the system has no inverse.
bool matriu_invertir();
int16_t matriu_pivot_buscar(int16_t fila, int16_t columna);
int16_t matriu_files_intercanviar(int16_t a, int16_t b);
void calibracio_coeficients();

// The map for one camera point; not finite where the point has no image.
double calibracio_x(int16_t x, int16_t y);
double calibracio_y(int16_t x, int16_t y);

} // namespace lumi
