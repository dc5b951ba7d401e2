#!/usr/bin/env bash
# "Opcions > Sortir" with unsaved changes asks once: Cancel keeps the program
# and its lock, Ok ends it. A program folder that cannot be written, holding
# a killed copy's lock: the program starts and still refuses a second copy.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

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
for tecla in Escape Return; do
  menu_opcions 6 # Sortir
  titol_missatge=$atencio tecla_missatge=$tecla llegir_missatge "at Sortir ($tecla)" "$(text_taula catala 30)"
  [ $tecla = Return ] || segona_refusada "after a cancelled Sortir"
done
fins=$(($(ara_ms) + 5000))
while kill -0 "$app_pid" 2>/dev/null; do
  ! xdotool search --onlyvisible --name "^$atencio\$" >/dev/null || fallar "Ok at Sortir asked again"
  [ "$(ara_ms)" -lt "$fins" ] || fallar "Ok at Sortir did not end the program"
  sleep 0.1
done

# Read-only: as root through a bind mount in a namespace of the program's own.
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
segona_refusada "in a folder that cannot be written"
superada=1
