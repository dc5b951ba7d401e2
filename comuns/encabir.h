// Forms placed by hand were sized for the Catalan captions. Once a form's
// captions are set, a caption wider than its control makes the control
// grow; the neighbours it would then cover move right, and the containers
// grow with them, up to the window.
#pragma once

class QWidget;

namespace lumi {

void encabir_captions(QWidget* form);

} // namespace lumi
