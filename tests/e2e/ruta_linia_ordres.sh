#!/usr/bin/env bash
# The command line as a teacher types it in a terminal: a path relative to
# the folder it is typed in starts that activity. A file that is missing,
# unreadable or no activity starts no run, in each interface language: the
# window stays the teacher's, untitled and with its menus, and a message
# names the path and says what is wrong with it.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

clase="$tmp/clase ñ"
mkdir -p "$clase/act/t" "$clase/una carpeta.lrq"
cp "$arrel/examples/primera/"* "$clase/act/t/"
printf 'hola\r\n' >"$clase/notes.lrq"
cd "$clase" || fallar "no folder $clase"
engegar act/t/primera.lrq
esperar_primera_pregunta "of act/t/primera.lrq, typed in $clase"
for llengua in catala:catala espanol:español galego:galego; do
  l=${llengua%:*}
  printf '\xEF\xBB\xBF[inici]\r\nidioma=%s\r\n' "${llengua#*:}" >"$tmp/programa/lumiraga.ini"
  for cas in "no existe ñ.lrq:fitxers|no_existeix" "una carpeta.lrq:fitxers|no_llegit" "notes.lrq:45"; do
    nom=${cas%%:*}
    reengegar_programa "$nom"
    llegir_missatge "for \"$nom\" on the command line ($l)" "$(text_taula "$l" "${cas#*:}")" "$clase/$nom"
    titol=$(text_taula "$l" 'LUMIRAGA - Sense nom')
    esperar_finestra "^$titol\$" 5 || fallar "no window \"$titol\" once \"$nom\" was refused ($l)"
    menu_opcions 1 # Iniciar: the menus are there
    esperar_finestra "^$(text_taula "$l" 'LumiRaga - Inici')\$" 5 || fallar "no menus once \"$nom\" was refused ($l)"
    xdotool key Escape
  done
done
superada=1
