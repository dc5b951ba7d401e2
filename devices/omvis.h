// The colour tracker as the player and the calibration window call it, the
// camera-to-screen mapping of its positions, and the capture window's opening
// and closing.
#pragma once

#include <QString>
#include <cstdint>

namespace lumi {

// The tracker itself: non-zero when it started; 1 when the colour was seen,
// v (0 to 480) first, then h (0 to 640); 0 otherwise.
int16_t OVSInicialitza(int16_t mode);
int16_t OVSObtenirPosicio(int16_t& v, int16_t& h);
// Stops the tracker and frees the camera; harmless when it is not running.
void OVSFinalitza();

// Starts the tracker unless a start already failed in this process (then
// omvis_estat stays 1 and 0 is returned at once).
int16_t omvis_iniciar(int16_t modus);
// The tracker's result; on 1, x and y receive the screen point.
int16_t omvis_posicio_pantalla(int16_t& x, int16_t& y);

// Opens the capture window on the window of handle `pare` on the first
// device (0 to 8) that connects, with the live picture: 1, or 0 when none.
int32_t captura_obrir(int32_t pare);
// Disconnects and destroys the capture window; captura_hwnd is 0 after.
void captura_tancar();
// The camera still "tmp.bmp" in the program folder, taken through a capture
// window on `pare`: true when written; a failed one leaves no file.
bool captura_fotografia(int32_t pare);
QString fitxer_fotografia();
// The still through the open capture window `hwnd`, as captura_fotografia
// writes it; the window stays open.
bool fotografia_desar(int32_t hwnd);

} // namespace lumi
