// The answer matchers: whether one caught input answers an item. Pure
// functions on explicit state, so each device's rules are tested without a
// window; the player window wraps them on its own state.
#pragma once

#include "core/activitat.h"
#include "core/informe.h"

#include <QString>
#include <cstdint>
#include <functional>

namespace lumi {

// Results: right is any value above 0 (the item's number, or 1).
constexpr int16_t COMPROVA_INDECIS = -2;   // sound level only: wait for newer readings
constexpr int16_t COMPROVA_PAS_SERIE = -1; // a series step was taken, or broken
constexpr int16_t COMPROVA_MAL = 0;

// What a matcher reads and changes besides the item.
struct EntornComprova {
    Activitat& a;                         // items (element 0 gets the judged copy), zones
    QString& sequencia_parcial;           // series codes matched so far, upper case
    QString& reaccio_serie_pendent;       // emptied when a series completes
    dades_informe& inf;                   // series steps count themselves
    EstatDispositius& d;                  // sound levels
    std::function<void()> serie_completa; // the text label sizes itself again and hides
};

int16_t comprova_tecla(EntornComprova& e, int16_t i, int tecla);
// Whether item i takes a modifier key (Shift, Ctrl, Alt) pressed now, judging
// nothing: an item for any key, a key list naming it, or a series expecting it.
bool pren_modificador(const Activitat& a, const QString& sequencia_parcial, int16_t i, int tecla);
// boto: 1 left, 2 right, 4 middle, -1 a pointer move; x, y window pixels.
int16_t comprova_zona(EntornComprova& e, int16_t i, int boto, float x, float y);
// events: "A", "R", "D", "E" and button digits, as the joystick poll gives them.
int16_t comprova_joystic(EntornComprova& e, int16_t i, const QString& events);
// x = y = 0 when the tracker sees nothing.
int16_t comprova_web(EntornComprova& e, int16_t i, int x, int y);
int16_t comprova_so(EntornComprova& e, int16_t i);

// Band test on the sound level. Mode 0: the last level; mode 1: the two ring
// readings (which it then clears). 1 inside, 0 above, 2 otherwise.
int16_t f_so(EstatDispositius& d, int16_t baix, int16_t alt, int16_t mode);

} // namespace lumi
