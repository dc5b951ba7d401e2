// Sound-level capture on the player window: the engine posts a level every
// 50 ms and the window's hook keeps the two last ones.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>

namespace lumi {

// The window the engine reports to (the player window).
std::function<QWidget*()>& finestra_captura();

// Starts capture; "ok" when it runs, else the message to show.
QString so_iniciar_captura();
// Stops capture; the hook and the engine version stay.
void so_finalitzar_captura();
// Starts capture again after a pause (a medium playing): once the engine's
// version is known the start above refuses, so this goes to the engine
// directly. Returns the engine's result (0 = running).
int16_t so_reprendre_captura();

// Removes the sound-level hook whose token `procOld_so` holds; false when
// that token is not the installed hook.
bool restaurar_ganxo_so(int32_t token);

// A sound-level capture that has stopped gives way to word recognition, which
// the engine hears on the same microphone: its hook goes (the engine keeps
// its version). False while a capture runs.
bool so_deixar_per_veu();

} // namespace lumi
