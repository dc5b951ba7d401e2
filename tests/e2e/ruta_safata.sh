#!/usr/bin/env bash
# The exercise covers the desktop's panel whichever way a run starts, under a
# window manager with a tray: from the command line typed in a terminal (that
# window active), from "Opcions > Engegar" of the loaded activity, from the
# start dialog a second time, and after the planner's "Nou" (Engegar then asks
# for the activity); a new activity with nothing to show says so instead. The
# planner's full-screen zone editor covers it too.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

LUMI_E2E_SAFATA=1
# The run shows, the panel is covered, Esc gives the window back.
cobreix() {
  esperar_primera_pregunta "$1"
  safata_coberta "the exercise $1"
  captura coberta >/dev/null
  xdotool key Escape
}

engegar_sense_inici
xmessage -geometry +100+500 terminal >/dev/null 2>&1 &
sleep 0.5
reengegar_programa "$tmp/examples/primera/primera.lrq"
cobreix "started from the command line"
menu_opcions 4
cobreix "started from \"Opcions > Engegar\""
menu_opcions 1
esperar_inici 5 "after \"Opcions > Iniciar\""
engegar_des_de_inici
cobreix "started a second time, from the start dialog"

nova_des_de_inici
menu_planificador 392 2 # Opcions > Crear Zones
esperar_tela "Opcions > Crear Zones"
safata_coberta "the zone editor"
captura editor-zones >/dev/null
xdotool mousemove 30 8 click 1 sleep 0.3 key Up Return # the zone menu's last item, "Sortir"
esperar_sense_finestra '^Crear Zones$' 5 || fallar "\"Sortir\" did not leave the zone editor"
menu_planificador 392 3 # Opcions > Sortir
esperar_sense_finestra "$titol_planificador" 5 || fallar "\"Sortir\" did not close the planner"
menu_opcions 4
llegir_missatge "on \"Engegar\" of a new activity" "$(text_taula catala 'jugador|sense_items')"

menu_opcions 3
menu_planificador 26 1 # Fitxer > Nou
menu_planificador 392 3
esperar_sense_finestra "$titol_planificador" 5 || fallar "\"Sortir\" did not close the planner"
menu_opcions 4
esperar_finestra '^Fitxers Planificació Lumi Raga$' 5 || fallar "\"Engegar\" without a file did not ask for one"
triar_al_dialeg_obrir "$tmp/examples/primera" primera.lrq
cobreix "started after the planner's \"Nou\""
superada=1
