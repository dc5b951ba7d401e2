#!/usr/bin/env bash
# Leaving with unsaved changes from "Opcions > Sortir": one question; Cancel
# keeps the program and its lock (a second copy is still refused), Ok ends it.
# Then a program folder that cannot be written, holding a killed copy's lock:
# the program starts, and a second copy is still refused.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

# A second copy is refused with message 31 and ends; the first goes on.
segona_refusada() {
  local primer=$app_pid
  engegar_programa
  llegir_missatge "from a second copy $1" "$(text_taula catala 31)"
  timeout 5 tail --pid="$app_pid" -f /dev/null || fallar "the refused second copy $1 did not end"
  app_pid=$primer
  kill -0 "$app_pid" 2>/dev/null || fallar "the first copy ended when a second one was refused $1"
}

engegar_sense_inici
planificar_primera
menu_planificador 121 3 # Items > Copiar
menu_planificador 121 4 # Items > Enganxar
menu_planificador 392 3 # Opcions > Sortir: the pasted item stays, unsaved
esperar_sense_finestra "$titol_planificador" 5 || fallar "\"Sortir\" did not close the planner"

pregunta="^$(text_taula catala Atencio)\$"
menu_opcions 6 # Sortir
titol_missatge=$(text_taula catala Atencio) tecla_missatge=Escape llegir_missatge "at Sortir" "$(text_taula catala 30)"
esperar_sense_finestra "$pregunta" 3 || fallar "Cancel did not close the question"
segona_refusada "after a cancelled Sortir"
menu_opcions 6
titol_missatge=$(text_taula catala Atencio) llegir_missatge "at the second Sortir" "$(text_taula catala 30)"
fins=$(($(ara_ms) + 5000))
while kill -0 "$app_pid" 2>/dev/null; do
  ! xdotool search --onlyvisible --name "$pregunta" >/dev/null 2>&1 || fallar "Ok at Sortir asked again"
  [ "$(ara_ms)" -lt "$fins" ] || fallar "Ok at Sortir did not end the program"
  sleep 0.1
done
app_pid=""

# The program folder read-only (as root, bind-mounted so in a namespace of
# the program's own), with the lock file a killed copy left.
printf '999999\nlumiraga\naltra\n' >"$tmp/programa/lumiraga.lock"
if [ "$(id -u)" = 0 ]; then
  printf '#!/bin/sh\nexec unshare -m sh -c %s sh "$@"\n' \
    "'mount --bind $tmp/programa $tmp/programa && mount -o remount,ro,bind $tmp/programa && exec $programa \"\$@\"'" \
    >"$tmp/nomes-lectura.sh"
  chmod +x "$tmp/nomes-lectura.sh"
  programa="$tmp/nomes-lectura.sh"
else
  chmod a-w "$tmp/programa"
  trap 'chmod u+w "$tmp/programa"; acabar' EXIT
fi
engegar_programa
esperar_inici 10 "with a program folder that cannot be written"
captura nomes-lectura >/dev/null
segona_refusada "in a folder that cannot be written"
superada=1
