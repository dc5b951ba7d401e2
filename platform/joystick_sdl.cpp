// The SDL module: the joystick, and the entry that also gives the
// microphone and the speech engine.
#include "platform/joystick.h"
#include "platform/microfon.h"
#include "platform/moduls.h"
#include "platform/motor_veu_real.h"

#include <SDL.h>
#include <map>

namespace lumi::plataforma {

namespace {

class JoystickSdl : public FontJoystick {
  public:
    ~JoystickSdl() override {
        for (auto& [id, j] : oberts_)
            SDL_JoystickClose(j);
        if (iniciat_) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }

    int joyGetPos(int id, JOYINFO& info) override {
        if (!iniciar() || id < 0) return 1;
        SDL_JoystickUpdate();
        SDL_Joystick* j = obrir(id);
        if (!j) return 1;
        auto eix = [j](int n) {
            return n < SDL_JoystickNumAxes(j) ? static_cast<int32_t>(SDL_JoystickGetAxis(j, n)) + 32768
                                              : 32768;
        };
        info.wXpos = eix(0);
        info.wYpos = eix(1);
        info.wZpos = eix(2);
        info.wButtons = 0;
        const int botons = std::min(SDL_JoystickNumButtons(j), 4);
        for (int b = 0; b < botons; ++b) {
            if (SDL_JoystickGetButton(j, b)) info.wButtons |= 1 << b;
        }
        return 0;
    }

  private:
    bool iniciar() {
        if (!iniciat_) {
            SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
            // SIGINT and SIGTERM must keep ending the program.
            SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
            iniciat_ = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
        }
        return iniciat_;
    }

    SDL_Joystick* obrir(int id) {
        auto it = oberts_.find(id);
        if (it != oberts_.end()) {
            if (SDL_JoystickGetAttached(it->second)) return it->second;
            SDL_JoystickClose(it->second);
            oberts_.erase(it);
        }
        if (id >= SDL_NumJoysticks()) return nullptr;
        SDL_Joystick* j = SDL_JoystickOpen(id);
        if (j) oberts_[id] = j;
        return j;
    }

    bool iniciat_ = false;
    std::map<int, SDL_Joystick*> oberts_;
};

} // namespace

} // namespace lumi::plataforma

extern "C" const lumi::plataforma::ModulSdl* lumi_modul_sdl() {
    namespace pf = lumi::plataforma;
    static const pf::ModulSdl m{[]() -> pf::FontJoystick& {
                                    static pf::JoystickSdl sdl;
                                    return sdl;
                                },
                                []() -> pf::Microfon* { return pf::crear_microfon_sdl().release(); },
                                []() -> pf::MotorVeu* { return pf::MotorVeuReal::crear().release(); }};
    return &m;
}
