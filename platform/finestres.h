// Window handles: small integers that stand for widgets, so that command
// strings and engine calls can name a window by a number.
#pragma once

#include <QWidget>
#include <cstdint>

namespace lumi::plataforma {

// The handle of a widget, the same one every time it is asked for. 0 for
// nullptr. A destroyed widget's handle is never given out again.
int32_t registrar_finestra(QWidget* w);
// The widget of a handle; nullptr when unknown or already destroyed.
QWidget* finestra_per_handle(int32_t handle);

// Keeps a top-level window above all others, or lets others over it again,
// without hiding, moving or sizing it.
void posar_a_sobre(QWidget* w, bool a_sobre);

// Puts a top-level window over the whole desktop, a window manager's panel
// included: full screen, raised and active; asked again once when the window
// manager let the full screen go.
void cobrir_escriptori(QWidget* w);

// Brings to the front, with the keyboard, the first top-level window that
// process `pid` (or a process it started) shows within `segons`, so that a
// launched program does not open beneath the player. Watched from the event
// loop while `vigilant` lives. Where the window system does not let one
// program raise another's window (offscreen, Wayland) it does nothing.
void portar_al_davant(QObject* vigilant, qint64 pid, double segons = 20);

} // namespace lumi::plataforma
