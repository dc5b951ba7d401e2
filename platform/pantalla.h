// The screen and the mouse pointer.
#pragma once

#include <QPoint>
#include <QRect>

namespace lumi::plataforma {

// The desktop of this machine in pixels (zone 0 of an activity).
QRect rectangle_escriptori();

// Pointer visibility: hiding stacks, showing unwinds until it is visible.
void amagar_cursor();
void mostrar_cursor();
bool cursor_amagat();

// Puts the pointer at a screen position.
void posar_cursor(QPoint p);
// Where the program itself last put the pointer: the window system reports
// that placement as a move, which is not the user's.
QPoint cursor_posat();

} // namespace lumi::plataforma
