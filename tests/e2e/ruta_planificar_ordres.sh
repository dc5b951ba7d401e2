#!/usr/bin/env bash
# Orders written into an item as a teacher writes them: on a copy of the
# example opened in the planner, the wrong-reaction list gets placed words
# through the words dialog, a wait through the cell editor's command menu and
# a picture through the resource chooser; one order is dragged before
# another, one deleted by the popup, a delay set on the general page; the
# activity is saved, read back and played from the player's menu.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

activitat="$tmp/examples/primera/primera.lrq"
# The grid's first cell (centre) below the window's top left, and the pitch.
cella_x=65
cella_y=106
pas=56

# Cell `columna` of the first row of the shown list.
cella() {
  planificador
  echo $((X + cella_x + ($1 - 1) * pas)) $((Y + cella_y))
}

editor() {
  esperar_finestra "$1" 5 || fallar "no window \"$1\" after $2"
  sleep 0.3
  xdotool windowraise "$finestra"
  eval "$(xdotool getwindowgeometry --shell "$finestra")"
}

engegar_sense_inici
planificar_primera

menu_planificador 323 2 # Reaccions > Si malament
sleep 0.3
captura si-mal >/dev/null

titol_editor="^Llista de reaccions si malament\$"

# Cell 3, after the two orders: placed words through the words dialog.
read -r cx cy < <(cella 3)
xdotool mousemove "$cx" "$cy" click 1
editor "$titol_editor" "a press on the insertion point"
captura editor >/dev/null
xdotool mousemove $((X + 258)) $((Y + 80)) click 1 # Paraules
editor '^Paraules$' "\"Paraules\""
xdotool type --delay 5 'bon dia'
captura paraules >/dev/null
xdotool key Return
esperar_sense_finestra "$titol_editor" 5 || fallar "the words did not close the cell editor"

# Cell 4: a wait through the command menu.
read -r cx cy < <(cella 4)
xdotool mousemove "$cx" "$cy" click 1
editor "$titol_editor" "a press on cell 4"
triar_menu $((X + 58)) $((Y + 80)) 5 "Ordres"
esperar_finestra "^Temps d'espera\$" 5 || fallar "\"Esperar un temps\" asked nothing"
xdotool key ctrl+a
xdotool type --delay 5 '1,5'
captura espera >/dev/null
xdotool key Return
esperar_sense_finestra "$titol_editor" 5 || fallar "the wait did not close the cell editor"

# Cell 5: a picture through the resource chooser.
read -r cx cy < <(cella 5)
xdotool mousemove "$cx" "$cy" click 1
editor "$titol_editor" "a press on cell 5"
xdotool mousemove $((X + 158)) $((Y + 80)) click 1 # Fitxers
esperar_finestra "$titol_editor" 5 || fallar "\"Fitxers\" opened no chooser"
sleep 0.5
captura triador >/dev/null
# The chooser sits centred over the planner: a picture of its list, then Accept.
eval "$(xdotool getwindowgeometry --shell "$(xdotool search --onlyvisible --name "$titol_planificador" | head -1)")"
xdotool mousemove $((X - 19)) $((Y + 191)) click 1
sleep 0.2
xdotool mousemove $((X + 584)) $((Y + 356)) click 1
esperar_sense_finestra "$titol_editor" 5 || fallar "the chosen picture did not close the cell editor"
sleep 0.3
captura escrites >/dev/null

# The wait (cell 4) dragged onto cell 1: marked by a click, then pressed,
# moved and released.
read -r x4 y4 < <(cella 4)
read -r x1 y1 < <(cella 1)
xdotool mousemove "$x4" "$y4" click 1
sleep 0.7
xdotool mousedown 1
sleep 0.1
xdotool mousemove $((x4 - 20)) "$y4"
sleep 0.1
xdotool mousemove "$x1" "$y1"
sleep 0.1
xdotool mouseup 1
sleep 0.3
captura arrossegat >/dev/null

# The popup's "Esborrar" on cell 2, the first reaction of the example.
read -r x2 y2 < <(cella 2)
abans=$(xdotool search --onlyvisible --class lumiraga 2>/dev/null | sort | tr '\n' ' ')
xdotool mousemove "$x2" "$y2" click 3
fins=$(($(ara_ms) + 5000))
until [ "$(xdotool search --onlyvisible --class lumiraga 2>/dev/null | sort | tr '\n' ' ')" != "$abans" ]; do
  [ "$(ara_ms)" -lt "$fins" ] || fallar "a right press on a cell opened no popup"
  sleep 0.02
done
captura menu >/dev/null
xdotool key Down Down Down Return
sleep 0.3
captura esborrat >/dev/null

# A delay of the item on the general page: the wrong reaction's, 3 s.
menu_planificador 81 0 # General
sleep 0.3
planificador
xdotool mousemove $((X + 426)) $((Y + 428)) click 1
xdotool key ctrl+a
xdotool type --delay 5 '3'
xdotool key Tab
sleep 0.2
captura general >/dev/null

menu_planificador 26 3 # Fitxer > Desar
esperar_finestra '^Fitxers Planificació Lumi Raga$' 5 || fallar "\"Desar\" did not bring the save dialog"
xdotool key Return
esperar_sense_finestra '^Fitxers Planificació Lumi Raga$' 5 || fallar "the save dialog did not close"
sleep 0.5
# The third item's wrong reactions, as written: wait, sound, words, picture.
# The file is in the Windows code page: "»" and "Ç" are one byte each.
linia=$(LC_ALL=C grep -a 'ESPERA_15' "$activitat" | tr -d '\r')
[ -n "$linia" ] || fallar "the saved activity holds no ESPERA_15"
echo "$linia" | LC_ALL=C grep -q '^"1.ESPERA_15.no\.wav.CAP.ALERA_bon dia.estrella\.jpg"$' ||
  fallar "the wrong reactions were saved as $linia"
menu_planificador 392 3 # Opcions > Sortir
esperar_sense_finestra "$titol_planificador" 5 || fallar "\"Sortir\" did not close the planner"

# Opened again: the orders are there.
menu_opcions 3
esperar_finestra "$titol_planificador" 5 || fallar "the planner did not open again"
menu_planificador 323 2
sleep 0.3
captura reobert >/dev/null
menu_planificador 392 3
esperar_sense_finestra "$titol_planificador" 5 || fallar "\"Sortir\" did not close the planner again"

# Played from the player's menu, then stopped with Esc.
menu_opcions 4
sleep 1.5
captura jugant >/dev/null
kill -0 "$app_pid" 2>/dev/null || fallar "lumiraga ended while playing the edited activity"
xdotool key Escape
sleep 0.5
kill -0 "$app_pid" 2>/dev/null || fallar "lumiraga ended after Esc"

# A new activity from the start dialog: its general page and its instruction
# row set in the planner that opens, saved, and found again on reopening.
nova_des_de_inici
planificador
xdotool mousemove $((X + 139)) $((Y + 63)) click 1 # Temps total
xdotool key ctrl+a
xdotool type --delay 5 '120'
xdotool mousemove $((X + 227)) $((Y + 89)) click 1 # Minimitzar
xdotool mousemove $((X + 157)) $((Y + 473)) click 1 # the instruction's first cell
editor "^Dades Generals de l'aplicació\$" "a press on the instruction's first cell"
xdotool mousemove $((X + 258)) $((Y + 80)) click 1 # Paraules
editor '^Paraules$' "\"Paraules\" for the instruction"
xdotool type --delay 5 'hola'
xdotool key Return
esperar_sense_finestra "^Dades Generals de l'aplicació\$" 5 || fallar "the instruction's words did not close the editor"
sleep 0.3
captura nova-general >/dev/null
menu_planificador 26 3 # Fitxer > Desar
esperar_finestra '^Fitxers Planificació Lumi Raga$' 5 || fallar "\"Desar\" of the new activity brought no dialog"
xdotool key Return
esperar_sense_finestra '^Fitxers Planificació Lumi Raga$' 5 || fallar "the save dialog of the new activity did not close"
menu_planificador 392 3
esperar_sense_finestra "$titol_planificador" 5 || fallar "\"Sortir\" did not close the planner on the new activity"
nova=$(find "$tmp" -name nova.lrq | head -1)
[ -n "$nova" ] || fallar "the start dialog wrote no nova.lrq"
LC_ALL=C grep -aq '^"CAP.ALERA_hola"' "$nova" || fallar "the new activity's instruction was not saved"
grep -aqx '120' <(tr -d '\r' <"$nova") || fallar "the new activity's total time was not saved"
menu_opcions 3
esperar_finestra "$titol_planificador" 5 || fallar "the planner did not open again on the new activity"
sleep 0.3
captura nova-reoberta >/dev/null
planificador
menu_planificador 392 3
esperar_sense_finestra "$titol_planificador" 5 || fallar "\"Sortir\" did not close the reopened planner"
superada=1
