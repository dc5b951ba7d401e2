// The joystick as the player reads it: axes as value + 32768 (about 32768 at
// rest), buttons 1 to 4 as bits 0 to 3.
#pragma once

#include "core/activitat.h"

namespace lumi::plataforma {

class FontJoystick {
  public:
    virtual ~FontJoystick() = default;
    // Reads joystick id (0-based); 0 on success, non-zero when it does not answer.
    virtual int joyGetPos(int id, JOYINFO& info) = 0;
};

// The SDL2 joystick service (its module loads, and SDL opens, at the first
// call).
FontJoystick& joystick();
// Tests may put their own source in place; nullptr puts SDL back.
void posar_joystick(FontJoystick* f);

} // namespace lumi::plataforma
