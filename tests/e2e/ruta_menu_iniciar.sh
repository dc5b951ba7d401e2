#!/usr/bin/env bash
# The start dialog closed with Esc at the first start and opened again with
# "Opcions > Iniciar", then the same run as from the first one: every answer
# is judged and counted. Then a damaged file opened from "Opcions > Fitxers":
# "Desar" asks before it replaces it, and No keeps it as it was.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

engegar_sense_inici
menu_opcions 1
esperar_inici 5 "after \"Opcions > Iniciar\""
captura inici-del-menu >/dev/null
primera_des_de_inici

danyat="$tmp/examples/primera/danyat.lrq"
head -c 60 "$tmp/examples/primera/primera.lrq" | tee "$tmp/danyat.abans" >"$danyat"
menu_opcions 2 && sleep 0.3 && xdotool key Down Return # Fitxers > Obrir
esperar_finestra '^Fitxers Planificació Lumi Raga$' 5 || fallar "\"Obrir\" did not bring the open dialog"
triar_al_dialeg_obrir "$tmp/examples/primera" danyat.lrq
esperar_finestra '^LUMIRAGA$' 5 || fallar "the damaged file brought no message"
xdotool key Return
esperar_sense_finestra '^LUMIRAGA$' 5 || fallar "the message did not close"
menu_opcions 2 && sleep 0.3 && xdotool key Down Down Return # Fitxers > Desar
esperar_finestra '^Fitxers Planificació Lumi Raga$' 5 || fallar "\"Desar\" did not bring the save dialog"
xdotool key Return
esperar_finestra '^LUMIRAGA$' 5 || fallar "\"Desar\" replaced the damaged file without asking"
captura pregunta >/dev/null
xdotool key Escape
esperar_sense_finestra '^LUMIRAGA$' 5 || fallar "No did not close the question"
cmp -s "$danyat" "$tmp/danyat.abans" || fallar "the damaged file changed although the answer was No"
superada=1
