#!/usr/bin/env bash
# Shift+Esc in a run and "Opcions > Sortir" with unsaved changes ask once: Cancel keeps the program
# and its lock, Ok ends it. A program folder that cannot be written, holding
# a killed copy's lock: the program starts and still refuses a second copy.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

# A second copy is refused with message 31 and ends.
segona_refusada() {
  local primer=$app_pid
  engegar_programa
  llegir_missatge "from a second copy $1" "$(text_taula catala 31)"
  timeout 5 tail --pid="$app_pid" -f /dev/null || fallar "the refused second copy $1 did not end"
  app_pid=$primer
}

engegar_sense_inici
planificar_primera
menu_planificador 121 3 # Items > Copiar
menu_planificador 121 4 # Items > Enganxar: unsaved
menu_planificador 392 3
atencio=$(text_taula catala Atencio)
# Shift+Esc in a run: its Shift is no answer; Cancel gives the player back.
menu_opcions 4 # Engegar
esperar_primera_pregunta "after Engegar"
xdotool key shift+Escape
titol_missatge=$atencio tecla_missatge=Escape llegir_missatge "at Shift+Esc in a run" "$(text_taula catala 30)"
finestra_jugador
captura shift-esc-cancel >/dev/null
llegir_informe
comprovar_informe "Nombre de Respostes=0"
for tecla in Escape Return; do
  menu_opcions 6 # Sortir
  titol_missatge=$atencio tecla_missatge=$tecla llegir_missatge "at Sortir ($tecla)" "$(text_taula catala 30)"
  [ $tecla = Return ] || segona_refusada "after a cancelled Sortir"
done
# A second question would keep it running.
timeout 5 tail --pid="$app_pid" -f /dev/null || fallar "Ok at Sortir did not end the program"

# Read-only: as root through a bind mount in a namespace of the program's own.
printf '999999\nlumiraga\naltra\n' >"$tmp/programa/lumiraga.lock"
if [ "$(id -u)" = 0 ]; then
  # The paths go through the environment: a blank in them would split a command line.
  export LUMI_RO=$tmp/programa LUMI_PROGRAMA=$programa
  printf '#!/bin/sh\nexec unshare -m sh -c %s sh "$@"\n' \
    "'mount --bind \"\$LUMI_RO\" \"\$LUMI_RO\" && mount -o remount,ro,bind \"\$LUMI_RO\" && exec \"\$LUMI_PROGRAMA\" \"\$@\"'" \
    >"$tmp/nomes-lectura.sh"
  chmod +x "$tmp/nomes-lectura.sh"
  programa="$tmp/nomes-lectura.sh"
else
  chmod a-w "$tmp/programa"
  trap 'chmod u+w "$tmp/programa"; acabar' EXIT
fi
engegar_programa
esperar_inici 10 "with a program folder that cannot be written"
segona_refusada "in a folder that cannot be written"
superada=1
