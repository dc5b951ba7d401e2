#!/usr/bin/env bash
# Inputs defined as a teacher defines them: the example, given a screen zone
# and a few extra inputs on its third item, is opened in the planner and the
# action editor is opened from the ACCIO list on each page (keys, webcam,
# joystick, voice, mouse). On the voice page "Crear Patrons" opens the
# engine's training window over the modal editor, and that window takes
# clicks and typing. The first item gets a key series, the second a click in
# the zone, the third joystick button 1; the activity is saved, the program
# started again with a scripted joystick, and a run answers each item that
# way; the report counts every answer.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

titol_planificador='^Planificar Lumi-Raga$'
activitat="$tmp/examples/primera/primera.lrq"
ini="$tmp/programa/lumiraga.ini"
# Seconds from the new start before the scripted joystick presses its button.
ESPERA_JOYSTICK=20

# The training window hears a stream of spoken vowels.
# From the temporary folder: a comma in the checkout's path would split the options.
cp "$arrel/tests/dades/veu_entrenament.flac" "$tmp/"
export SDL_AUDIODRIVER=dummy LUMIRAGA_BACKENDS=microfon:sintetic \
  LUMIRAGA_SINTETIC="microfon:wav=$tmp/veu_entrenament.flac"

planificador() {
  esperar_finestra "$titol_planificador" 5 || fallar "no planner window"
  xdotool windowraise "$finestra"
  eval "$(xdotool getwindowgeometry --shell "$finestra")"
  PX=$X PY=$Y
}

# The action editor from row `fila` (0 = the first) of the ACCIO list: the
# entry marked by a click, then a double click. Its window's title must
# match; its geometry goes in X, Y, WIDTH and HEIGHT.
editor_de_fila() {
  local fila=$1 titol=$2
  planificador
  xdotool mousemove $((PX + 64)) $((PY + 106 + fila * 56)) click 1
  sleep 0.3
  xdotool click --repeat 2 --delay 80 1
  esperar_finestra "^$titol\$" 5 || fallar "a double click on row $((fila + 1)) of the ACCIO list opened no \"$titol\""
  editor=$finestra
  sleep 0.4
  eval "$(xdotool getwindowgeometry --shell "$editor")"
}

# A click at a place of the editor window, from its top left.
clic_editor() {
  xdotool mousemove $((X + $1)) $((Y + $2)) click 1
  sleep 0.2
}

# Accept or Cancel, at the foot of every page; the editor must close.
tancar_editor() {
  if [ "$1" = acceptar ]; then
    clic_editor $((WIDTH * 3 / 4)) $((HEIGHT - 22))
  else
    clic_editor $((WIDTH / 4)) $((HEIGHT - 22))
  fi
  esperar_sense_finestra '^Accions de' 5 || fallar "\"$1\" did not close the action editor"
  sleep 0.3
}

engegar_sense_inici
# Zone 1 (100, 100)-(300, 300); the third item also answers the joystick's
# up, the webcam's click and voice word 1, so that every page has an entry;
# every item waits a minute for its answer, so that the third one is still
# asked when the scripted joystick presses its button.
sed -i '142s/.*/1\r/;151s/.*/1\r/;169s/.*/1\r/;212s/.*/60\r/;220s/.*/1\r/' "$activitat"
sed -i '225a 100\r\n100\r\n300\r\n300\r\n""\r' "$activitat"

planificar_primera
planificador
xdotool mousemove $((PX + 255)) $((PY + 8)) click 1 # Accions
sleep 0.4
captura accions-item3 >/dev/null

# The third item: its key list, webcam, joystick and voice entries.
editor_de_fila 0 'Accions de  Teclat'
captura pagina-teclat >/dev/null
tancar_editor cancel·lar
editor_de_fila 1 'Accions de  Web'
captura pagina-web >/dev/null
clic_editor 26 58 # "Clic web cam" off
tancar_editor acceptar
editor_de_fila 1 'Accions de  Joystick'
clic_editor 27 31  # "Amunt" off
clic_editor 198 31 # "Botó 1" on
captura pagina-joystick >/dev/null
tancar_editor acceptar

editor_de_fila 2 'Accions de  Veu'
captura pagina-veu >/dev/null
veu_editor=$editor
clic_editor 427 143 # Crear Patrons
esperar_finestra '^Entrenament de sons$' 5 || fallar "\"Crear Patrons\" in the action editor opened no training window"
entrenament=$finestra
xdotool windowraise "$entrenament"
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$entrenament")"
EX=$X EY=$Y EH=$HEIGHT # the takes box and the buttons sit at the bottom
captura entrenament >/dev/null
# Typing: the takes per sound, which the engine keeps in the program's ini.
xdotool mousemove $((EX + 115)) $((EY + EH - 71)) click 1
xdotool key ctrl+a
xdotool type --delay 20 5
xdotool key Tab
fins=$(($(ara_ms) + 3000))
until grep -aq '^preses=5' "$ini" 2>/dev/null; do
  [ "$(ara_ms)" -lt "$fins" ] ||
    fallar "typing 5 into the training window's takes box over the modal editor changed nothing ($(captura preses))"
  sleep 0.05
done
# A click: "Enregistrar" records a take of the first sound, which the list shows.
import -window "$entrenament" "$tmp/entrenament-abans.png"
xdotool mousemove $((EX + 50)) $((EY + EH - 23)) click 1
sleep 2
import -window "$entrenament" "$tmp/entrenament-despres.png"
captura enregistrant >/dev/null
canvis=$(compare -metric AE "$tmp/entrenament-abans.png" "$tmp/entrenament-despres.png" null: 2>&1 | cut -d' ' -f1)
[ "${canvis:-0}" -gt 100 ] || fallar "a click on \"Enregistrar\" changed nothing in the training window (${canvis:-?} pixels)"
xdotool mousemove $((EX + 100)) $((EY + EH - 23)) click 1 # Aturar
sleep 0.3
xdotool windowclose "$entrenament" 2>/dev/null || xdotool key --window "$entrenament" alt+t
esperar_sense_finestra '^Entrenament de sons$' 5 || fallar "the training window did not close"
# Back in the editor: voice word 1 deleted from its list.
eval "$(xdotool getwindowgeometry --shell "$veu_editor")"
clic_editor 44 112
xdotool key Delete
sleep 0.2
captura veu-esborrada >/dev/null
tancar_editor acceptar
captura accions-item3-fetes >/dev/null

# The second item: the mouse page, a click in zone 1 only.
planificador
xdotool mousemove $((PX + 486)) $((PY + 59)) click 1 # the navigator's back arrow
sleep 0.5
editor_de_fila 0 'Accions de  Ratolí'
clic_editor 26 57 # "Clic esquerre" off
clic_editor 93 113 # the zone combo
xdotool key Down Return
sleep 0.3
captura pagina-ratoli >/dev/null
tancar_editor acceptar

# The first item: the keys page, Space deleted and the series "AB" typed.
planificador
xdotool mousemove $((PX + 486)) $((PY + 59)) click 1
sleep 0.5
editor_de_fila 0 'Accions de  Teclat'
# F1 added; Space, the first entry, deleted, which leaves none selected;
# after the focus goes away and back by keyboard a Delete takes nothing.
clic_editor 59 272
clic_editor 542 54
xdotool key Delete
sleep 0.2
xdotool key shift+Tab Tab Delete
clic_editor $((WIDTH / 2)) $((HEIGHT - 50))
xdotool type --delay 20 ab
sleep 0.2
captura pagina-teclat-serie >/dev/null
tancar_editor acceptar
captura accions-item1 >/dev/null

planificador
triar_menu $((PX + 26)) $((PY + 8)) 3 Fitxer # Desar
esperar_finestra '^Fitxers Planificació Lumi Raga$' 5 || fallar "\"Desar\" did not bring the save dialog"
xdotool key Return
esperar_sense_finestra '^Fitxers Planificació Lumi Raga$' 5 || fallar "the save dialog did not close"
sleep 0.5
planificador
triar_menu $((PX + 392)) $((PY + 8)) 3 Opcions # Sortir
esperar_sense_finestra "$titol_planificador" 5 || fallar "\"Sortir\" did not close the planner"

# What was saved, value by value (an item is 64 lines from line 3).
valor() {
  sed -n "$((($1 - 1) * 64 + 3 + $2))p" "$activitat" | tr -d '\r'
}
esperar_valor() {
  local item=$1 lloc=$2 esperat=$3 que=$4 vist
  vist=$(valor "$item" "$lloc")
  [ "$vist" = "$esperat" ] || fallar "item $item saved $que as $vist, not $esperat"
}
esperar_valor 1 2 0 "Space"
esperar_valor 1 59 '"H3B"' "its key list (F1 alone)"
esperar_valor 1 10 1 "its series box"
esperar_valor 1 60 '"H1EH30"' "its series"
esperar_valor 2 50 0 "the left click"
esperar_valor 2 52 1 "its zone box"
esperar_valor 2 53 '"H01"' "its zones"
esperar_valor 3 11 0 "the joystick's up"
esperar_valor 3 15 1 "joystick button 1"
esperar_valor 3 20 0 "voice word 1"
esperar_valor 3 38 0 "the webcam's click"

# Played after a new start, with a joystick whose script (timed from the
# program's start, when the joystick is looked for) presses button 1 now and
# then once the first two items have had time to be answered.
{
  echo "0 0 0 -"
  for ((t = ESPERA_JOYSTICK; t < ESPERA_JOYSTICK + 60; t += 2)); do
    echo "$t 0 0 1"
    echo "$t.3 0 0 -"
  done
} >"$tmp/joystick.txt"
export LUMIRAGA_BACKENDS=joystick:sintetic LUMIRAGA_SINTETIC="joystick:guio=$tmp/joystick.txt"
inici_joc=$(ara_ms)
reengegar_programa
esperar_inici 10 "after the new start"
engegar_des_de_inici
esperar_primera_pregunta "of the run"
# Whether yellow shows anywhere in the middle of the screen.
groc_al_mig() {
  local part
  part=$(import -window root png:- 2>/dev/null | convert - -crop 400x400+312+184 -fuzz 25% \
    -fill white -opaque yellow -fill black +opaque white -format '%[fx:mean>0]' info: 2>/dev/null)
  [ "$part" = 1 ]
}
# Waits until yellow shows (si) or no longer shows (no).
esperar_groc() {
  local fins=$(($(ara_ms) + $2 * 1000))
  while :; do
    if groc_al_mig; then [ "$1" = si ] && return 0; else [ "$1" = no ] && return 0; fi
    [ "$(ara_ms)" -lt "$fins" ] || return 1
    sleep 0.05
  done
}

# The series: A is a right step, shown by part of the right reaction's
# picture; B completes it.
xdotool key a
respostes_donades=$((respostes_donades + 1))
esperar_groc si 3 || fallar "the series' first key brought no step reaction ($(captura serie-a))"
captura pas-de-serie >/dev/null
respondre b groc verd "that completes the series A, B on the first item" || fallar "$sense_reaccio"
# A click outside zone 1 is wrong, one inside it right.
respondre clic blanc verd "outside the zone on the second item" || fallar "$sense_reaccio"
xdotool mousemove 200 200 click 1
respostes_donades=$((respostes_donades + 1))
esperar_color groc 3 || fallar "a click in zone 1 brought no right reaction (the screen's middle stayed $color_vist)"
esperar_color blau 6 || fallar "after the zone the screen's middle showed $color_vist, not the third question"
captura tercera-pregunta >/dev/null
# The joystick's button, when its script presses it.
queda=$((inici_joc + (ESPERA_JOYSTICK + 10) * 1000 - $(ara_ms)))
esperar_color groc $((queda / 1000 + 1)) ||
  fallar "joystick button 1 brought no right reaction on the third item (the screen's middle stayed $color_vist)"
respostes_donades=$((respostes_donades + 1))
echo "joystick answered $(($(ara_ms) - inici_joc)) ms after the new start" >&2
llegir_informe
# Each step of the series counts as a right answer.
comprovar_informe "Nombre de Respostes=$respostes_donades" "Respostes BE=4" "Respostes malament=1"
superada=1
