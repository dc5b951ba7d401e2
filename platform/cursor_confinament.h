// Holding the mouse pointer inside a box of the screen while the player
// handles an answer. Under X11 the server confines the pointer (a grab
// confined to a window over the box); elsewhere, or when the grab is
// refused, the pointer is put back inside the box whenever it leaves it.
#pragma once

#include <QRect>

class QWindow;

namespace lumi::plataforma {

// Confines the pointer to `caixa` (screen pixels), moved inside the screen
// when it lies beyond it. `finestra` receives the pointer events meanwhile;
// it may be nullptr (then only the fallback is used). A second call replaces
// the first box.
void confinar_cursor(const QRect& caixa, QWindow* finestra);
// Frees the pointer; harmless when it is free.
void alliberar_cursor();
// The box the pointer is held in; empty when it is free.
QRect cursor_confinat();
// Whether the X server holds the pointer (false under the fallback).
bool confinament_servidor();

// The box moved (not resized) so that it lies inside `pantalla` as far as it
// fits.
QRect caixa_dins_pantalla(const QRect& caixa, const QRect& pantalla);

} // namespace lumi::plataforma
