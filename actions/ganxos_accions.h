// Where the planner and the action editor meet. The editor opens on a page
// (0 mouse, 1 keys, 2 joystick, 3 voice, 4 the full-screen zone editor, 5 page
// buttons, 6 webcam; -1 no page chosen) under a title; until it is built
// nothing is installed and the planner opens nothing. The editor reaches the planner's choosers (its zone
// menu asks for the background picture) through `buto_planificar`, which the
// wiring installs.
#pragma once

#include <QString>
#include <functional>

namespace lumi {

inline std::function<void(int pagina, const QString& titol)>& obrir_editor_accions() {
    static std::function<void(int, const QString&)> f;
    return f;
}

inline std::function<void(int index)>& buto_planificar() {
    static std::function<void(int)> f;
    return f;
}

} // namespace lumi
