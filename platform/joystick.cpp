#include "platform/joystick.h"

#include "platform/moduls.h"

namespace lumi::plataforma {

namespace {

// Without SDL's module no joystick answers.
class JoystickAbsent final : public FontJoystick {
  public:
    int joyGetPos(int, JOYINFO&) override { return 1; }
};

FontJoystick* actual = nullptr;

} // namespace

FontJoystick& joystick() {
    if (actual) return *actual;
    static JoystickAbsent absent;
    const ModulSdl* m = modul_sdl();
    return m ? m->joystick() : absent;
}

void posar_joystick(FontJoystick* f) {
    actual = f;
}

} // namespace lumi::plataforma
