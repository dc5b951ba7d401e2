// The synthetic clock and random source: time and chance as a test or a
// headless run scripts them.
#pragma once

#include "platform/rellotge.h"

#include <deque>
#include <functional>
#include <optional>
#include <random>

namespace lumi::plataforma {

// A clock that moves only as it is told: by `avancar`, and by `pas` at every
// monotonic reading, so that waits end after a few passes without real time
// going by. With `pas` 0 a wait never ends unless something moves the clock
// (for example `en_llegir`).
class RellotgeSintetic : public Rellotge {
  public:
    double dia = 36000.25;           // seconds since midnight (10:00:00 and a quarter)
    double t = 1000.0;               // the monotonic clock
    double pas = 0;                  // added to both at every monotonic reading
    std::function<void()> en_llegir; // runs at every monotonic reading, after the step

    double segons_dia() override { return dia; }
    double monotonic() override {
        if (pas != 0) avancar(pas);
        if (en_llegir) en_llegir();
        return t;
    }
    // Both clocks move together; the day clock wraps at midnight.
    void avancar(double segons) {
        t += segons;
        dia += segons;
        if (dia >= 86400) dia -= 86400;
    }
};

// Gives the scripted numbers in turn; when they run out, the last one for
// ever, or (with `ciclic`) the list again from its start. With no script and
// a seed, a sequence spread over [0, 1), the same for the same seed.
class AtzarSintetic : public Atzar {
  public:
    std::deque<float> valors;
    bool ciclic = false;
    float darrer = 0; // what was given last (0 before any value)
    int demanats = 0; // how many numbers were asked for
    std::optional<std::mt19937> llavor;

    float seguent() override {
        ++demanats;
        if (!valors.empty()) {
            darrer = valors.front();
            valors.pop_front();
            if (ciclic) valors.push_back(darrer);
        } else if (llavor) {
            // 24 bits: exact in a float, never 1.
            darrer = static_cast<float>((*llavor)() >> 8) / static_cast<float>(1 << 24);
        }
        return darrer;
    }
};

} // namespace lumi::plataforma
