// The zone table as the zone editor changes it: free slots, the highest
// zone items use, new zones, delete, whole screen and subdivide. No widgets.
#pragma once

#include "actions/dimensionar.h"
#include "core/activitat.h"

#include <QString>
#include <algorithm>

namespace lumi {

// Two hex digits name a zone in items: 255 is the last that can be named.
constexpr int ZONES_MAXIMES = 255;

// The last zone of the activity an item can be given.
inline int zona_darrera_nomenable(const Activitat& a) {
    return std::min(zona_darrera(a), ZONES_MAXIMES);
}

// First free slot (coordinates summing to 0) from 1, else zones_max + 1.
int busca_zona(const Activitat& a);

// Highest zone number an item uses (the edited item, with the series text
// being edited, and every item 1..nombre_items), in the zone lists and in
// the series ("Z"/"W" zone codes, not the webcam's direction codes); -1 when
// none.
int calcula_zones_ultim(const Activitat& a, const item& editat, const QString& serie_editada);

// The rectangle a selection edits, and writing it back.
zona_rect marc_de(const zona& z);
void desar_marc(zona& z, const zona_rect& m);

// A zone drawn from (l, t) to (r, b): made when at least 5 x 5 and drawn
// down and right. Returns its slot, 0 when too small, -1 when the table is
// full (a 256th zone cannot be named).
int zona_nova(Activitat& a, int l, int t, int r, int b);

// Deletes zone s when it is above every zone items use; the later zones
// move down. False when nothing was done (s 0 or out of range included).
bool esborrar_zona(Activitat& a, int s, int ultima_usada);

// A new last zone equal to zone 0. Returns its slot, -1 when full.
int tota_la_pantalla(Activitat& a);

// A scroll bar's count: maximum - value + 1.
int compte_barra(int valor, int maxim = 15);

enum class Subdivisio { feta, sense_seleccio, cel_la_buida, massa_zones };
// Zone s cut into c columns and r rows of floor-sized cells, row by row; a
// used zone keeps its slot (and picture) for the first cell, a free one
// leaves the table first. Nothing changes unless it is feta.
Subdivisio subdividir(Activitat& a, int s, int c, int r, int ultima_usada);

} // namespace lumi
