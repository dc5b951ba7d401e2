// The webcam and the colour tracker as the player sees them. The camera and
// tracker back ends come with the device work; until a camera is found they
// report themselves absent, which every caller handles.
#pragma once

#include <cstdint>

namespace lumi {

// Opens the capture window on a parent window; 1 when a camera connects, 0 when none does.
int32_t captura_obrir(int32_t parent);
void captura_tancar();
// Starts the tracker; 0 when it did not start (and omvis_estat := 1).
int16_t omvis_iniciar(int16_t mode);
// The tracker's result; 1 when the colour was found and x, y were set to the screen point.
int16_t omvis_posicio_pantalla(int16_t& x, int16_t& y);
// Stops the tracker; harmless when it is not running.
void OVSFinalitza();
// Fills the camera-to-screen map from the stored calibration; 0 when there is none.
int16_t calibracio_calcular();

} // namespace lumi
