// The webcam and the colour tracker as the player sees them: the capture
// window, the tracker with its camera-to-screen map, and the calibration.
#pragma once

#include "devices/matriu_inversa.h"
#include "devices/omvis.h"
