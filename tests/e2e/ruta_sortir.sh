#!/usr/bin/env bash
# Leaving with unsaved changes from "Opcions > Sortir": one question; Cancel
# keeps the program and its lock (a second copy is still refused), Ok ends it.
# Then a program folder that cannot be written, holding a killed copy's lock:
# the program starts, and a second copy is still refused.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

# The question about unsaved changes, its text read through the clipboard,
# answered with a key.
preguntes=0
respondre_pregunta() {
  local tecla=$1 quan=$2 text X Y WIDTH HEIGHT
  esperar_finestra "^$(text_taula catala Atencio)\$" 5 || fallar "no question about the unsaved changes $quan"
  preguntes=$((preguntes + 1))
  eval "$(geometria "$finestra")"
  printf 'buit' | xclip -selection clipboard -i >/dev/null 2>&1
  xdotool mousemove $((X + WIDTH / 2)) $((Y + 18)) click 1 key ctrl+a ctrl+c
  sleep 0.3
  text=$(xclip -o -selection clipboard 2>/dev/null)
  [[ "$text" == *"$(text_taula catala 30)"* ]] || fallar "the question $quan says: $text"
  captura pregunta >/dev/null
  xdotool key "$tecla"
}

# A second copy is refused with message 31 and ends; the first goes on.
segona_refusada() {
  local primer=$app_pid
  engegar_programa
  local segon=$app_pid
  llegir_missatge "from a second copy $1" "$(text_taula catala 31)"
  timeout 5 tail --pid="$segon" -f /dev/null || fallar "the refused second copy $1 did not end"
  app_pid=$primer
  kill -0 "$app_pid" 2>/dev/null || fallar "the first copy ended when a second one was refused $1"
}

engegar_sense_inici
planificar_primera
menu_planificador 121 3 # Items > Copiar
menu_planificador 121 4 # Items > Enganxar
menu_planificador 392 3 # Opcions > Sortir: the pasted item stays, unsaved
esperar_sense_finestra "$titol_planificador" 5 || fallar "\"Sortir\" did not close the planner"

menu_opcions 6 # Sortir
respondre_pregunta Escape "at Sortir"
sleep 1
esperar_sense_finestra "^$(text_taula catala Atencio)\$" 3 || fallar "Cancel did not close the question"
finestra_jugador
segona_refusada "after a cancelled Sortir"

menu_opcions 6
respondre_pregunta Return "at the second Sortir"
fins=$(($(ara_ms) + 5000))
while kill -0 "$app_pid" 2>/dev/null; do
  if xdotool search --onlyvisible --name "^$(text_taula catala Atencio)\$" >/dev/null 2>&1; then
    captura segona-pregunta >/dev/null
    fallar "Ok at Sortir brought the question again"
  fi
  [ "$(ara_ms)" -lt "$fins" ] || fallar "Ok at Sortir did not end the program"
  sleep 0.1
done
wait "$app_pid" 2>/dev/null
app_pid=""
[ "$preguntes" = 2 ] || fallar "$preguntes questions instead of one for each Sortir"

# The program folder read-only (as root, bind-mounted so in a namespace of
# the program's own), with the lock file a killed copy left.
printf '999999\nlumiraga\naltra\n' >"$tmp/programa/lumiraga.lock"
programa_real=$programa
if [ "$(id -u)" = 0 ]; then
  command -v unshare >/dev/null || fallar "unshare is missing"
  programa="$tmp/nomes-lectura.sh"
  printf '#!/bin/sh\nmount --bind "%s" "%s" && mount -o remount,ro,bind "%s" && exec "%s" "$@"\n' \
    "$tmp/programa" "$tmp/programa" "$tmp/programa" "$programa_real" >"$programa.cos"
  printf '#!/bin/sh\nexec unshare -m sh "%s" "$@"\n' "$programa.cos" >"$programa"
  chmod +x "$programa"
else
  chmod a-w "$tmp/programa"
  trap 'chmod u+w "$tmp/programa"; acabar' EXIT
fi
engegar_programa
esperar_inici 10 "with a program folder that cannot be written"
captura nomes-lectura >/dev/null
segona_refusada "in a folder that cannot be written"
superada=1
