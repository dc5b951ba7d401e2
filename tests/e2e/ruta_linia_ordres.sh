#!/usr/bin/env bash
# The command line typed in a terminal: a path relative to its folder runs that activity; a file
# missing, unreadable or no activity runs nothing, and is told over the untitled window with its menus.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

clase="$tmp/clase ñ"
mkdir -p "$clase/act/t" "$clase/una carpeta.lrq" && cp "$arrel/examples/primera/"* "$clase/act/t/"
printf 'hola\r\n' >"$clase/notes.lrq"
cd "$clase" && engegar act/t/primera.lrq
esperar_primera_pregunta "of act/t/primera.lrq, typed in $clase"
for llengua in catala:catala espanol:español galego:galego; do
  l=${llengua%:*}
  printf '\xEF\xBB\xBF[inici]\r\nidioma=%s\r\n' "${llengua#*:}" >"$tmp/programa/lumiraga.ini"
  for cas in "no existe ñ.lrq:fitxers|no_existeix" "una carpeta.lrq:fitxers|no_llegit" "notes.lrq:45"; do
    nom=${cas%%:*} && reengegar_programa "$nom"
    llegir_missatge "for \"$nom\" on the command line ($l)" "$(text_taula "$l" "${cas#*:}")" "$clase/$nom"
    esperar_finestra "^$(text_taula "$l" 'LUMIRAGA - Sense nom')\$" 5 || fallar "no untitled window after \"$nom\" ($l)"
    menu_opcions 1 # Iniciar
    esperar_finestra "^$(text_taula "$l" 'LumiRaga - Inici')\$" 5 || fallar "no menus after \"$nom\" ($l)"
    xdotool key Escape
  done
done
superada=1
