#!/usr/bin/env bash
# Screen zones as a teacher makes them: on a copy of the example opened in the
# planner, "Opcions > Crear Zones" brings the full-screen zone editor; three
# zones are drawn with the mouse, one is chosen by its number, moved and
# resized by a handle, another subdivided through the zone menu. The second
# item then answers by two of them through the action editor's mouse page;
# the activity is saved and its zones read back, pixel by pixel. The
# activity, opened again, is played through the full-screen player with
# clicks inside, on the edges and outside, and the report must count what the
# zone test says: left and top edges inside, right and bottom outside.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

activitat="$tmp/examples/primera/primera.lrq"

# A press, a move in steps, a release: a person's drag.
arrossegar() {
  local x0=$1 y0=$2 x1=$3 y1=$4 i
  xdotool mousemove "$x0" "$y0" mousedown 1
  for i in 1 2 3 4; do
    xdotool mousemove $((x0 + (x1 - x0) * i / 4)) $((y0 + (y1 - y0) * i / 4))
    sleep 0.02
  done
  xdotool mouseup 1
}

# The zone menu ("Opcions" at the canvas's top left), item n of its five,
# clicked where the popup shows it.
menu_zones() {
  local abans ara w fins=$(($(ara_ms) + 5000))
  abans=$(xdotool search --onlyvisible --class lumiraga 2>/dev/null | sort | tr '\n' ' ')
  xdotool mousemove 30 8 click 1
  while :; do
    ara=$(xdotool search --onlyvisible --class lumiraga 2>/dev/null | sort | tr '\n' ' ')
    w=$(comm -13 <(tr ' ' '\n' <<<"$abans" | sort) <(tr ' ' '\n' <<<"$ara" | sort) | grep . | head -1)
    [ -n "$w" ] && break
    [ "$(ara_ms)" -lt "$fins" ] || fallar "the zone menu did not open"
    sleep 0.02
  done
  eval "$(xdotool getwindowgeometry --shell "$w")"
  captura "menu-zones-$1" >/dev/null
  xdotool mousemove $((X + 30)) $((Y + HEIGHT * (2 * $1 - 1) / 10)) click 1
  esperar_sense_finestra_id "$w" "the zone menu did not close on a click at its item"
}

# Waits until a window, by its id, is no longer shown.
esperar_sense_finestra_id() {
  local fins=$(($(ara_ms) + 3000))
  while xdotool search --onlyvisible --class lumiraga 2>/dev/null | grep -qx "$1"; do
    [ "$(ara_ms)" -lt "$fins" ] || fallar "$2"
    sleep 0.02
  done
}

# The zones 1.. of the saved file as "left top right bottom" lines. The
# file ends with the zone table (its highest number, then zone 0, the
# desktop, and every zone as four numbers and a picture) and the next
# activity's name.
zones_desades() {
  tr -d '\r' <"$activitat" | awk '
    { l[NR] = $0 }
    END {
      for (m = 0; m <= 255; ++m) {
        s = NR - 5 * (m + 1)
        if (s < 2) break
        if (l[s - 1] == m && l[s] == 0 && l[s + 1] == 0 && l[s + 2] == 1024 && l[s + 3] == 768) {
          for (j = 1; j <= m; ++j) {
            b = s + 5 * j
            print l[b], l[b + 1], l[b + 2], l[b + 3]
          }
          exit
        }
      }
    }'
}

engegar_sense_inici
planificar_primera

# ---- the zone editor, from the planner's menu
menu_planificador 392 2 # Opcions > Crear Zones
esperar_tela "Opcions > Crear Zones"
captura editor-buit >/dev/null

# Three zones drawn down and right; a press away from a selected zone ends
# its selection before the next one is drawn.
arrossegar 100 150 300 330
xdotool mousemove 700 620 click 1
arrossegar 400 100 560 260
xdotool mousemove 700 700 click 1
arrossegar 600 400 900 640
sleep 0.3
captura tres-zones >/dev/null

# Zone 1 chosen by its number (at the zone's centre), moved by 20, 30, then
# its bottom right handle (5 pixels past the corner) dragged: the corner goes
# one pixel past the pointer.
xdotool mousemove 204 244 click 1
arrossegar 150 200 170 230
arrossegar 325 365 349 389
sleep 0.3
captura zona-1-seleccionada >/dev/null

# Zone 3, chosen by its number, cut into 2 x 2 through "Subdividir"; the box
# sits in the middle of the screen.
xdotool mousemove 754 524 click 1
menu_zones 3
sleep 0.3
captura subdividir >/dev/null
xdotool mousemove 544 336 click 1 # columns: read when the box loses focus
xdotool key ctrl+a
xdotool type --delay 5 2
xdotool mousemove 544 402 click 1 # rows: read at every change
xdotool key ctrl+a
xdotool type --delay 5 2
sleep 0.2
captura subdividir-2x2 >/dev/null
xdotool mousemove 436 449 click 1 # Acceptar
sleep 0.3
captura subdividida >/dev/null

menu_zones 5 # Sortir
esperar_sense_finestra '^Crear Zones$' 5 || fallar "\"Sortir\" did not leave the zone editor"
esperar_sense_finestra_id "$tela" "the zone editor's canvas stayed on the screen after \"Sortir\""

# ---- the second item answers by zones 1 and 6, through the mouse page
menu_planificador 255 0 # Accions
planificador
xdotool mousemove $((X + 486)) $((Y + 59)) click 1 # the items bar, one back: item 2
sleep 0.3
xdotool mousemove $((X + 65)) $((Y + 106)) click 1 # its mouse entry, marked
sleep 0.7
xdotool click --repeat 2 --delay 80 1
esperar_finestra '^Accions de  Ratolí$' 5 || fallar "a double click on the second item's mouse entry opened no mouse page"
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$finestra")"
captura pagina-ratoli >/dev/null
xdotool mousemove $((X + 27)) $((Y + 56)) click 1 # "Clic esquerre" off: only the zones answer
# Zone 1 by its label in the preview (192 pixels for the screen's 1024),
# zone 6 from the list.
xdotool mousemove $((X + 282 + (120 + 350) * 192 / 2048)) $((Y + 99 + (180 + 390) * 192 / 2048)) click 1
xdotool mousemove $((X + 82)) $((Y + 112)) click 1
sleep 0.3
xdotool key Down Down Down Down Down Down Return
sleep 0.3
captura pagina-ratoli-zones >/dev/null
xdotool mousemove $((X + 366)) $((Y + 447)) click 1 # Acceptar
esperar_sense_finestra '^Accions de  Ratolí$' 5 || fallar "the mouse page's Accept did not close it"

menu_planificador 26 3 # Fitxer > Desar
esperar_finestra '^Fitxers Planificació Lumi Raga$' 5 || fallar "\"Desar\" did not bring the save dialog"
xdotool key Return
esperar_sense_finestra '^Fitxers Planificació Lumi Raga$' 5 || fallar "the save dialog did not close"
fins=$(($(ara_ms) + 5000))
until LC_ALL=C grep -aq '^"H01H06"' "$activitat"; do
  [ "$(ara_ms)" -lt "$fins" ] || fallar "the saved activity holds no item answering by zones 1 and 6"
  sleep 0.05
done

# The zones as drawn, in the screen's pixels.
esperades="120 180 350 390
400 100 560 260
600 400 750 520
750 400 900 520
600 520 750 640
750 520 900 640"
desades=$(zones_desades)
[ "$desades" = "$esperades" ] || fallar "the saved zones are
$desades
not
$esperades"

menu_planificador 392 3 # Opcions > Sortir
esperar_sense_finestra "$titol_planificador" 5 || fallar "\"Sortir\" did not close the planner"

# ---- played from the file: the start dialog opens it again
menu_opcions 1
esperar_inici 5 "after \"Opcions > Iniciar\""
engegar_des_de_inici
esperar_primera_pregunta "of the run"
respostes_donades=0
respondre space groc verd "on the first item" &&
  respondre clic@600,60 blanc verd "outside every zone on the second item" &&
  respondre clic@480,180 blanc verd "inside zone 2, which the second item does not take" &&
  respondre clic@350,285 blanc verd "on zone 1's right edge" &&
  respondre clic@235,390 blanc verd "on zone 1's bottom edge" &&
  respondre clic@120,180 groc blau "on zone 1's top left pixel" &&
  respondre Right groc vermell "on the third item"
llegir_informe
comprovar_informe "Nombre de Respostes=$respostes_donades" "Respostes BE=3" "Respostes malament=4" \
  "Nombre de Preguntes=4" "Preguntes no respostes=1"

# Again from "Opcions > Engegar", the report window still open: zone 6's
# last row and column are its own, the row above it zone 4's.
menu_opcions 4
esperar_primera_pregunta "of the second run"
respostes_donades=0
sense_reaccio=""
respondre space groc verd "on the first item of the second run" &&
  respondre clic@750,519 blanc verd "on zone 4's bottom row, above zone 6" &&
  respondre clic@899,639 groc blau "on zone 6's bottom right pixel"
llegir_informe
comprovar_informe "Nombre de Respostes=$respostes_donades" "Respostes BE=2" "Respostes malament=1" \
  "Nombre de Preguntes=3" "Preguntes no respostes=1"
superada=1
