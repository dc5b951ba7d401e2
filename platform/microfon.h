// The microphone: mono 16-bit samples, and the sound level the speech engine
// reports. Without a back end put in place the microphone never opens, which
// every caller handles.
#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace lumi::plataforma {

// The level of a stretch of sound: its loudest sample scaled to 0 (silence)
// to 128 (full scale), rounded down.
int nivell_so(const int16_t* mostres, size_t n);

class Microfon {
  public:
    virtual ~Microfon() = default;
    // True when a microphone is there; opening an open one is harmless.
    virtual bool obrir() = 0;
    virtual void tancar() = 0;
    // Open and still capturing (false once it went away).
    virtual bool obert() = 0;
    virtual int mostres_per_segon() const = 0;
    // The samples captured since the previous call (since opening, the first
    // time); nothing when closed or gone.
    virtual std::vector<int16_t> llegir() = 0;
    // The level of the last 50 ms (see nivell_so); 0 when closed or gone.
    virtual int nivell() = 0;
    // Hands each captured buffer to `f` on the capture thread as it arrives,
    // instead of keeping it for llegir, until closed or given nullptr; once
    // it returns, the previous receiver is no longer called. False, and
    // nothing changes, for a microphone without a capture thread of its own
    // or one not open: the caller then polls llegir. Every microphone
    // answers for itself (a wrapper that dropped it would leave its caller
    // polling).
    using Receptor = std::function<void(const int16_t*, size_t)>;
    virtual bool lliurar_a(Receptor f) = 0;
};

// The microphone in use.
Microfon& microfon();
// Puts a microphone in place; nullptr puts the machine's back. The caller
// keeps ownership.
void posar_microfon(Microfon* m);

// The machine's microphone: SDL's, made at its first open (it never opens
// where SDL's audio does not start).
Microfon& microfon_maquina();

// The SDL module's (moduls.h):
// the machine's microphone through SDL's audio capture (16 kHz mono);
// nullptr when SDL's audio subsystem does not start.
std::unique_ptr<Microfon> crear_microfon_sdl();
// The capture devices SDL sees, and the one the next open uses ("" the
// system's default).
QStringList dispositius_captura();
void triar_dispositiu_captura(const QString& nom);

} // namespace lumi::plataforma
