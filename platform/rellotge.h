// Time of day, waiting in place and the random source, all injectable so
// tests are fast and deterministic.
#pragma once

#include <QEventLoop>
#include <cstdint>
#include <functional>

namespace lumi::plataforma {

class Rellotge {
  public:
    virtual ~Rellotge() = default;
    // Seconds since midnight with fractions (the player's "Timer").
    virtual double segons_dia() = 0;
    // Seconds on a monotonic clock: what waits and time-outs measure.
    virtual double monotonic() = 0;
};

// The process clock; tests may put their own in place.
Rellotge& rellotge();
void posar_rellotge(Rellotge* r); // nullptr puts the system clock back

// Lets queued events run once (the "DoEvents" of the player).
void cedir(QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents);

// Waits `segons` on the monotonic clock while the event queue runs; handlers
// nest. Returns at once for 0 or less after yielding once.
void esperar(double segons, QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents);

// The random source: a number in [0, 1).
class Atzar {
  public:
    virtual ~Atzar() = default;
    virtual float seguent() = 0;
};
Atzar& atzar();
void posar_atzar(Atzar* a); // nullptr puts the default back

} // namespace lumi::plataforma
