// The road to the speech engine for word recognition: starts the unit with
// the activity's word list, opens pattern sets, and turns the engine's ready
// and word messages on the player window into enabled menus and typed keys.
#pragma once

#include "core/activitat.h"

#include <QString>
#include <cstdint>
#include <functional>

namespace lumi {

// What the word recognition needs of the player, filled by the wiring.
struct JugadorVeu {
    // Waits on the monotonic clock, painting, with learner input and the
    // player's timers held back.
    std::function<void(double segons)> esperar;
    // Enables the speech menu's items 2 to 4.
    std::function<void()> menus_preparats;
};
JugadorVeu& jugador_veu();

// Starts a word-recognition unit for paraules_veu(0) on the player window
// and hooks it; true when it runs. Refusals show their message.
bool veu_iniciar_unitat();
// Opens the pattern set of `carpeta` (a file or a folder), starting the unit
// first when none runs; on failure the activity's pattern folder and word
// list stay as they were.
bool veu_obrir_paraules_carpeta(const QString& carpeta);
// After the engine opened a set by its own dialog: its list becomes the
// activity's, split again, and the engine counts as ready.
void veu_prendre_sons();
// Splits paraules_veu(0) into paraules_veu(1..32) as the engine numbers its
// entries (at most 31 commas cut; the last keeps the rest). Returns the
// number of cuts.
int partir_paraules_veu(Activitat& a, EstatDispositius& d);

// Removes the word hook whose token `procOld_rec` holds; false when that
// token is not the installed hook.
bool restaurar_ganxo_veu(int32_t token);

// Word recognition left for the sound level, which the engine hears on the
// same microphone: the word hook goes and the unit counts as not started
// (the engine keeps its patterns).
void veu_deixar_per_nivell();
// The unit left so takes the player window back, its patterns as they were;
// false when none was left.
bool veu_reprendre_unitat();

} // namespace lumi
