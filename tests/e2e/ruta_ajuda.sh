#!/usr/bin/env bash
# "Ajuda > Index" on a desktop with no opener for documents (no xdg-open on
# the program's PATH): in each interface language a message says so and
# gives the help page's path, to be opened by hand.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

# The program's PATH holds only what starts it.
sense_obridor="$tmp/sense-obridor"
mkdir -p "$sense_obridor"
ln -s "$(command -v env)" "$sense_obridor/env"
ajuda="$(dirname "$(readlink -f "$programa")")/ajuda"

engegar_sense_inici
for llengua in catala:catala:ca espanol:español:es galego:galego:gl; do
  IFS=: read -r l nom codi <<<"$llengua"
  printf '\xEF\xBB\xBF[inici]\r\nidioma=%s\r\n' "$nom" >"$tmp/programa/lumiraga.ini"
  PATH="$sense_obridor" reengegar_programa
  inici=$(text_taula "$l" 'LumiRaga - Inici')
  esperar_finestra "^$inici\$" 10 || fallar "no start dialog \"$inici\""
  sleep 0.3
  xdotool key Escape
  esperar_sense_finestra "^$inici\$" 5 || fallar "Esc did not close the start dialog ($l)"
  # "Ajuda", the menu bar's last menu, is reached from "Opcions" with the
  # Left key, its first item "Index" lit.
  finestra_jugador
  eval "$(geometria "$finestra")"
  abans=$(xdotool search --onlyvisible --class lumiraga 2>/dev/null | wc -l)
  xdotool mousemove $((X + 30)) $((Y + 9)) click 1
  fins=$(($(ara_ms) + 5000))
  until [ "$(xdotool search --onlyvisible --class lumiraga 2>/dev/null | wc -l)" -gt "$abans" ]; do
    [ "$(ara_ms)" -lt "$fins" ] || fallar "the menu \"Opcions\" did not open on a click at its name ($l)"
    sleep 0.02
  done
  xdotool key Left
  sleep 0.2
  captura "menu-ajuda-$l" >/dev/null
  xdotool key Return
  llegir_missatge "from \"Ajuda > Index\" without an opener ($l)" \
    "$(text_taula "$l" 'fitxers|ajuda_sense_obridor')" "$ajuda/$codi.html"
done
superada=1
