// Which back end each platform service uses: the machine's own ("real") or
// the synthetic one, for tests and for running the whole program headless on
// scripted input. Chosen once at start-up from two environment variables.
//
// LUMIRAGA_BACKENDS: entries separated by commas, applied in order. "sintetic"
// or "real" alone sets every service; "service:sintetic" or "service:real"
// sets one ("sintetic,media:real" makes all but the media synthetic). The
// services:
//     media      sounds and videos (MCI commands): the synthetic one records
//                the commands and plays nothing
//     joystick   the joystick: follows a script (joystick_sintetic.h)
//     veu        the speech engine: levels from the microphone in use,
//                scripted words (motor_veu_sintetic.h)
//     microfon   sound capture: plays a WAV file (silence without one)
//     camera     the webcam: a red disc moving on a path
//     seguidor   the colour tracker: finds its colour in the camera's frames
//     processos  program launching: records launches, runs nothing
//     rellotge   the clock: starts at 10:00:00.25 and moves only while read
//     atzar      the random source: a scripted sequence (without one, a
//                seeded sequence, the same at every run)
//
// LUMIRAGA_SINTETIC: options of the synthetic back ends, entries
// "service:option" separated by commas:
//     S:falla            camera, microfon, joystick, seguidor: never opens;
//                        veu: no capture or recognition starts;
//                        processos: nothing is launched
//     S:desapareix@T     camera, microfon, joystick, seguidor: goes away T
//                        seconds after opening (the joystick opens at its
//                        first reading)
//     joystick:guio=F    the joystick's script file
//     microfon:wav=F     the WAV file the microphone plays
//     camera:cami=T X Y;T X Y;...   the disc's path in camera pixels, looped
//     camera:pantalla=X Y;X Y;X Y;X Y   a lit screen of those four corners
//     veu:paraules=K@T;K@T;...      word K recognised T seconds after the
//                        unit started
//     rellotge:pas=T     seconds the clock moves at each reading (0.01)
//     atzar:valors=A;B;...          the numbers given, in a loop
// File names may not hold commas.
//
// Anything not understood is reported on stderr and leaves that service (or
// option) as it would be without it; nothing is fatal.
#pragma once

#include <QString>
#include <QStringList>

namespace lumi::plataforma {

// Puts in place the back ends that `backends` names, every other service
// back on its machine's back end, and applies `opcions` to the synthetic
// ones. Returns what was not understood (also written on stderr). Calling it
// again replaces the synthetic back ends of the previous call.
QStringList triar_backends(const QString& backends, const QString& opcions = {});

// The same from LUMIRAGA_BACKENDS and LUMIRAGA_SINTETIC; does nothing when
// neither is set.
void triar_backends_entorn();

// Whether the last choice made service `nom` ("veu", "microfon", ...) synthetic.
bool servei_sintetic(const QString& nom);

} // namespace lumi::plataforma
