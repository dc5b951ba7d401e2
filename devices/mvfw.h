// The capture window and the messages the program sends it: a live picture
// of the camera in use, shown in a child area of a window, that can grab one
// frame and save it as a bitmap file.
#pragma once

#include <QString>
#include <cstdint>

class QWidget;

namespace lumi {

// The name of capture device `index`; false when there is none.
bool capGetDriverDescriptionA(int16_t index, QString& nom, QString& versio);
// A capture window, child of the window of handle `pare`: its handle, 0 when
// the parent is unknown.
int32_t capCreateCaptureWindowA(const QString& nom, int32_t x, int32_t y, int32_t amplada, int32_t alcada,
                                int32_t pare);
void DestroyWindow(int32_t hwnd);

// Each true when the capture window took the message.
bool capDriverConnect(int32_t hwnd, int16_t index);
bool capDriverDisconnect(int32_t hwnd);
bool capPreview(int32_t hwnd, bool on);
bool capPreviewRate(int32_t hwnd, int32_t ms);
// Takes the current frame and stops the live picture on it.
bool capGrabFrame(int32_t hwnd);
// Writes the grabbed frame (or, without one, the current frame) as a BMP;
// on failure the file is removed, so no earlier picture passes for this one.
bool capFileSaveDIB(int32_t hwnd, const QString& fitxer);

} // namespace lumi
