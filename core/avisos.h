// Notices to the user from code that has no interface of its own: the player
// sets the hook, the rest only tells.
#pragma once

#include <QString>
#include <functional>

namespace lumi {

// A critical message box with the program's title; may be empty.
std::function<void(const QString& text)>& avis_usuari();

// Tells `text` through avis_usuari once a run for each `clau`: some notices
// come from work the program repeats often.
void avisar_un_cop(const QString& clau, const QString& text);

} // namespace lumi
