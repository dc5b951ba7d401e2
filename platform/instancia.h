// One copy of the program at a time.
#pragma once

namespace lumi::plataforma {

// Takes the single-instance lock; false when another live copy holds it.
// The lock is released when the process ends.
bool reservar_instancia_unica();
// Lets another copy start (the program is ending).
void alliberar_instancia_unica();

} // namespace lumi::plataforma
