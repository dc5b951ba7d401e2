// The wiring of the program: the one place that picks the back ends and
// connects the layers' hooks to one another.
#pragma once

#include <functional>

class QApplication;

namespace lumi {

// Puts in place the back ends that LUMIRAGA_BACKENDS asks for (the real ones
// otherwise).
void triar_backends();

// Connects the hooks that lower layers declare to what higher layers offer:
// the player window's caption, messages, picture box and capture window, the
// desktop, the undo snapshot's path, the sound capture's resumption after a
// medium. Looked up at every call, so the hooks follow whichever player
// window exists.
void connectar_ganxos();

// The program: the application, the wiring and the player window on the
// command line's activity, until it ends; its exit code. `abans`, when
// given, sees the application before anything else is made.
int executar(int argc, char** argv, const std::function<void(QApplication&)>& abans = {});

} // namespace lumi
