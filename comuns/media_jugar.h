// Playing one medium at a time for the player, the planner and the resource
// chooser: sounds by name, videos full screen in the player's picture box.
// Word recognition and sound-level capture of a running exercise pause while
// the medium is switched and run on while it plays.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

namespace lumi {

// The picture box videos play in (the player window's Picture1); when empty,
// videos play without a box.
std::function<QWidget*()>& finestra_video();
// Resumes a running exercise's sound-level capture once the medium plays.
std::function<void()>& reprendre_captura_so();

// Closes the medium open, if any: a video's animation goes first, and with it
// `caixa_video`, the box it played in.
void tancar_media_actual(QWidget* caixa_video);
// Closes the medium open before and plays `fitxer` ("" only closes it).
void reproduir_media(QString& fitxer);
// The same for a sound; the result is always empty.
QString reproduir_so(const QString& fitxer);

} // namespace lumi
