// The joystick as a source of answers: found at a new activity, polled by the
// player every 100 ms, its readings turned into event texts ("D13" = right
// with buttons 1 and 3) with the button renumbering of the program ini.
#pragma once

#include "core/activitat.h"

#include <QString>

namespace lumi {

// Tests joystick id (0-based); keeps the reading as the rest position.
bool joystick_provar(int id);
// The event of this moment; "" for none.
QString joystick_llegir();
// Applies the button renumbering to an event text.
QString joystick_traduir(const QString& estat);
// Reads the "Joystick" section of the program ini.
void carregar_joystick_ini();

// The pure parts, on explicit state.
QString joystick_esdeveniment(const JOYINFO& lectura, const JOYINFO& centre, int sensibilitat);
QString joystick_traduir(const QString& estat, const QString& botons);
void carregar_joystick_ini(const QString& fitxer, EstatDispositius& d);

} // namespace lumi
