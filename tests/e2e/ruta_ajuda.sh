#!/usr/bin/env bash
# "Ajuda > Index" where nothing opens documents (no xdg-open on the program's
# PATH): in each interface language a message gives the help page's path.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

mkdir -p "$tmp/bin" && ln -s "$(command -v env)" "$tmp/bin/env"
ajuda="$(dirname "$(readlink -f "$programa")")/ajuda"
engegar_sense_inici
for llengua in catala:catala:ca espanol:español:es galego:galego:gl; do
  IFS=: read -r l nom codi <<<"$llengua"
  printf '\xEF\xBB\xBF[inici]\r\nidioma=%s\r\n' "$nom" >"$tmp/programa/lumiraga.ini"
  PATH="$tmp/bin" reengegar_programa
  inici=$(text_taula "$l" 'LumiRaga - Inici')
  esperar_finestra "^$inici\$" 10 && sleep 0.3 && xdotool key Escape || fallar "no start dialog ($l)"
  esperar_sense_finestra "^$inici\$" 5 || fallar "Esc did not close the start dialog ($l)"
  finestra_jugador
  eval "$(geometria "$finestra")"
  triar_menu $((X + 225)) $((Y + 9)) 1 Ajuda # after "Idioma" in every language
  llegir_missatge "from \"Ajuda > Index\" without an opener ($l)" \
    "$(text_taula "$l" 'fitxers|ajuda_sense_obridor')" "$ajuda/$codi.html"
done
superada=1
