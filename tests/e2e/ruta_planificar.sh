#!/usr/bin/env bash
# The planner as a teacher uses it: opened on a copy of the example from the
# player's "Opcions > Planificar", its pages looked at, an item copied and
# pasted, the activity saved, the planner closed and opened again; then the
# start dialog's new activity, which opens the planner on the new file, and
# one made inside a folder gone into from the dialog's folder list.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

activitat="$tmp/examples/primera/primera.lrq"

# The item count of the saved activity (the second line of the file).
items_desats() {
  sed -n '2p' "$activitat" | tr -d '\r'
}

engegar_sense_inici

# No file is current: "Planificar" asks for one first.
planificar_primera
captura general >/dev/null
[ "$(items_desats)" = 3 ] || fallar "the example should start with 3 items"

menu_planificador 193 0 # Estímuls
sleep 0.2
captura estimuls >/dev/null
menu_planificador 323 1 # Reaccions > Si be
sleep 0.2
captura si-be >/dev/null
menu_planificador 255 0 # Accions
sleep 0.2
captura accions >/dev/null

menu_planificador 121 3 # Items > Copiar
menu_planificador 121 4 # Items > Enganxar
sleep 0.2
captura enganxat >/dev/null

menu_planificador 26 3 # Fitxer > Desar
esperar_finestra '^Fitxers Planificació Lumi Raga$' 5 || fallar "\"Desar\" did not bring the save dialog"
xdotool key Return
esperar_sense_finestra '^Fitxers Planificació Lumi Raga$' 5 || fallar "the save dialog did not close"
fins=$(($(ara_ms) + 5000))
until [ "$(items_desats)" = 4 ]; do
  [ "$(ara_ms)" -lt "$fins" ] || fallar "the saved activity holds $(items_desats) items, not 4 after a paste"
  sleep 0.05
done

menu_planificador 392 3 # Opcions > Sortir
esperar_sense_finestra "$titol_planificador" 5 || fallar "\"Sortir\" did not close the planner"

# With the file current the planner opens at once, on the pasted item.
menu_opcions 3
esperar_finestra "$titol_planificador" 5 || fallar "the planner did not open again"
sleep 0.3
captura reobert >/dev/null
menu_planificador 392 3
esperar_sense_finestra "$titol_planificador" 5 || fallar "\"Sortir\" did not close the planner the second time"
[ "$(items_desats)" = 4 ] || fallar "the saved activity lost its pasted item"

# The start dialog's new activity opens the planner on the new file.
nova_des_de_inici
captura planificador-nou >/dev/null
nova=$(find "$tmp" -name nova.lrq | head -1)
[ -n "$nova" ] || fallar "the start dialog wrote no nova.lrq"
[ "$(sed -n '2p' "$nova" | tr -d '\r')" = 1 ] || fallar "the new activity should hold one item"
menu_planificador 392 3
esperar_sense_finestra "$titol_planificador" 5 || fallar "\"Sortir\" did not close the planner on the new activity"

# Into a folder of the current one (the last activity's), gone into from the folder list (its last row).
mkdir "$tmp/examples/primera/Cançó"
menu_opcions 1
esperar_inici 5 "after \"Opcions > Iniciar\""
xdotool key space sleep 0.3
eval "$(geometria "$finestra")"
xdotool mousemove $((X + WIDTH / 4)) $((Y + HEIGHT / 2)) click 1 sleep 0.2 key End Return sleep 0.3
captura carpeta >/dev/null
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 60)) click 1 sleep 0.2 type --delay 2 dins
xdotool key Return
esperar_finestra "$titol_planificador" 5 || fallar "the activity in a folder did not open the planner"
[ -f "$tmp/examples/primera/Cançó/dins.lrq" ] || fallar "the activity was not written in the folder gone into"
esperar_finestra "^LUMIRAGA - $tmp/examples/primera/Cançó/dins.lrq\$" 5 || fallar "the player's caption does not name the activity whole"
superada=1
