// The synthetic joystick: it follows a script. Only joystick 0 answers.
//
// The script is text, one line per change of position:
//     # time  x     y     buttons
//     0       0     0     -
//     1.5     1     0     -
//     2       1     0     13
//     2.5     -0.5  -1    2
// Time is in seconds from the first reading (on the platform clock), not
// decreasing; x and y run from -1 (left, up) through 0 (rest) to 1 (right,
// down); buttons are the digits 1 to 4 of those held, or "-" for none. A
// line holds until the next one; before the first the stick is at rest.
// Blank lines and everything after "#" are ignored.
#pragma once

#include "platform/dispositiu_sintetic.h"
#include "platform/joystick.h"

#include <QString>
#include <vector>

namespace lumi::plataforma {

struct PasJoystick {
    double t = 0;
    double x = 0;
    double y = 0;
    int32_t botons = 0; // bit 0 for button 1
};

// Reads a script; false with the line and what is wrong in `error`.
bool llegir_guio_joystick(const QString& text, std::vector<PasJoystick>& guio, QString* error = nullptr);

class JoystickSintetic : public FontJoystick, public DispositiuSintetic {
  public:
    std::vector<PasJoystick> guio;
    // Reads the script from a file; false, and the script stays, when it
    // cannot be read or is not a script.
    bool carregar_guio(const QString& fitxer, QString* error = nullptr);

    // The first reading opens the joystick: its script starts then.
    int joyGetPos(int id, JOYINFO& info) override;
};

} // namespace lumi::plataforma
