// One copy of the program at a time.
#pragma once

#include <functional>

namespace lumi::plataforma {

// Takes the single-instance lock; false when another live copy holds it.
// The lock is released when the process ends.
bool reservar_instancia_unica();
// Lets another copy start (the program is ending).
void alliberar_instancia_unica();

// While the lock is held, a later copy refused by it can tell this one:
// avisar runs on the main thread for each. Undone by alliberar_instancia_unica().
void escoltar_copies_refusades(std::function<void()> avisar);
// Tells the copy holding the lock that this one was refused; false when it
// cannot be reached (an older copy, one that hangs), so this one says it itself.
bool avisar_copia_en_marxa();

} // namespace lumi::plataforma
