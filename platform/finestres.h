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

} // namespace lumi::plataforma
