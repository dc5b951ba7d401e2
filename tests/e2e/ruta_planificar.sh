#!/usr/bin/env bash
# The planner as a teacher uses it: opened on a copy of the example from the
# player's "Opcions > Planificar", its pages looked at, an item copied and
# pasted, the activity saved, the planner closed and opened again; then the
# start dialog's new activity, which opens the planner on the new file, and
# one made inside a folder gone into from the dialog's folder list, given a
# picture and an action before its first save, saved and played.
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
sleep 0.5 # a Return before the dialog takes keys is lost
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
cami_dins="$tmp/examples/primera/Cançó/dins.lrq"
esperar_finestra "^LUMIRAGA - $cami_dins\$" 5 || fallar "the player's caption does not name the activity whole"

# Before its first save: pictures from the folder above, through the cell
# editor's chooser (the name typed whole), as its question and its right
# reaction, and a left click as its action, through the action editor.
imatge_a_la_cella() {
  planificador
  xdotool mousemove $((X + 65)) $((Y + 106)) click 1
  esperar_finestra "^$1\$" 5 || fallar "a press on the first cell of \"$1\" opened no editor"
  eval "$(xdotool getwindowgeometry --shell "$finestra")"
  xdotool mousemove $((X + 158)) $((Y + 80)) click 1 # Fitxers
  esperar_finestra '^Triar Fitxers$' 5 || fallar "\"Fitxers\" opened no chooser"
  sleep 0.3
  eval "$(geometria "$finestra")"
  xdotool mousemove $((X + 100)) $((Y + 100)) click 1 key ctrl+a # Nom Fitxer
  xdotool type --delay 2 "$tmp/examples/primera/$2"
  xdotool key Return sleep 0.3
  captura triador >/dev/null
  xdotool mousemove $((X + 606)) $((Y + 318)) click 1 # Acceptar
  esperar_sense_finestra "^$1\$" 5 || fallar "the chosen picture did not close the cell editor"
}
menu_planificador 193 0 # Estímuls
imatge_a_la_cella "Llista d'estímuls" cercle.jpg
menu_planificador 323 1 # Reaccions > Si be
imatge_a_la_cella 'Llista de reaccions' estrella.jpg
menu_planificador 255 0 # Accions
planificador
xdotool mousemove $((X + 64)) $((Y + 106)) click 1 sleep 0.3 click --repeat 2 --delay 80 1
esperar_finestra "^Llista d'accions\$" 5 || fallar "a double click on the empty action list opened no action editor"
eval "$(xdotool getwindowgeometry --shell "$finestra")"
xdotool mousemove $((X + 145)) $((Y + 30)) click 1 # Ratolí
esperar_finestra '^Accions de  Ratolí$' 5 || fallar "\"Ratolí\" opened no mouse page"
eval "$(xdotool getwindowgeometry --shell "$finestra")"
xdotool mousemove $((X + 26)) $((Y + 57)) click 1 sleep 0.2 # Clic esquerre
captura ratoli >/dev/null
xdotool mousemove $((X + WIDTH * 3 / 4)) $((Y + HEIGHT - 22)) click 1 # Acceptar
esperar_sense_finestra '^Accions de' 5 || fallar "\"Acceptar\" did not close the action editor"
menu_planificador 26 3 # Fitxer > Desar
esperar_finestra '^Fitxers Planificació Lumi Raga$' 5 || fallar "\"Desar\" of the activity in a folder brought no dialog"
sleep 0.5
xdotool key Return
esperar_sense_finestra '^Fitxers Planificació Lumi Raga$' 5 || fallar "its save dialog did not close"
menu_planificador 392 3 # Opcions > Sortir
esperar_sense_finestra "$titol_planificador" 5 || fallar "\"Sortir\" did not close the planner on the activity in a folder"
for f in cercle.jpg estrella.jpg; do
  [ -f "$tmp/examples/primera/Cançó/$f" ] || fallar "$f was not copied beside the activity"
  # The file is in the Windows code page: "»" is one byte.
  LC_ALL=C grep -aq "^\"1.${f/./\\.}" "$cami_dins" ||
    fallar "$f is not stored beside the activity: $(LC_ALL=C grep -a "$f" "$cami_dins")"
done

# Played from the player's menu: a click brings the reaction; the report
# names the activity whole.
menu_opcions 4
sleep 1
respondre clic groc vermell "on the activity in a folder" || fallar "$sense_reaccio"
captura dins-jugant >/dev/null
llegir_informe
nom=$(sed -n "s/^Nom de l'exercici = [[:space:]]*//p" <<<"$informe_text" | tr -d '\r' | head -1)
[ "$nom" = "$cami_dins" ] || fallar "the report names the activity \"$nom\""
superada=1
