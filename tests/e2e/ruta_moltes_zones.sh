#!/usr/bin/env bash
# An activity holding the most zones a file can, 32,767: half never drawn,
# the rest piled one on another at the top left, a smaller one last, over
# them. Started from the command line it plays: the pile shows the top
# zone's picture framed by the pile's, answers are judged, and the program
# is still there seconds later. The planner opens on it, and its zone editor
# shows the pictures and the top zone's number, which a click selects.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

# The example with its zone table (the last seven values: the highest zone,
# zone 0 and its picture, then the next activity) replaced.
gran="$tmp/gran"
mkdir -p "$gran"
cp "$arrel/examples/primera/"* "$gran/"
convert -size 40x30 xc:'#ff00ff' "$gran/pila.png"
convert -size 40x30 xc:'#00ffff' "$gran/dalt.png"
head -n -7 "$gran/primera.lrq" >"$gran/moltes.lrq"
awk 'BEGIN {
  ORS = "\r\n"
  n = 32767
  print n ORS 0 ORS 0 ORS 1024 ORS 768 ORS "\"\""
  for (k = 1; k <= n; ++k) {
    if (k < 16384) print 0 ORS 0 ORS 0 ORS 0 ORS "\"\""
    else if (k < n) print 40 ORS 40 ORS 300 ORS 240 ORS "\"pila.png\""
    else print 60 ORS 60 ORS 280 ORS 220 ORS "\"dalt.png\""
  }
  print "\"\""
}' >>"$gran/moltes.lrq"

engegar "$gran/moltes.lrq"
esperar_primera_pregunta "of the activity with 32,767 zones"
fora=$(pixel 20 20) pila=$(pixel 45 45) dalt=$(pixel 170 140)
captura moltes-zones >/dev/null
if [ "$fora" = "$pila" ] || [ "$pila" = "$dalt" ] || [ "$dalt" = "$fora" ]; then
  fallar "the run does not show the pile framing the top zone (outside $fora, pile $pila, top zone $dalt)"
fi
respondre space groc verd "on the first item" || fallar "$sense_reaccio"
# The crash of a widget per zone came seconds after the start.
sleep 6
kill -0 "$app_pid" 2>/dev/null || fallar "lumiraga ended while playing the activity with 32,767 zones"
respondre clic groc blau "on the second item" || fallar "$sense_reaccio"

# ---- the planner on the current file, then its zone editor
xdotool key Escape
menu_opcions 3
planificador
menu_planificador 392 2 # Opcions > Crear Zones
esperar_tela "Opcions > Crear Zones"
sleep 0.5
captura editor-moltes-zones >/dev/null
[ "$(pixel 45 45)" = ff00ff ] || fallar "the zone editor does not show the pile's picture"
[ "$(pixel 100 100)" = 00ffff ] || fallar "the zone editor does not show the top zone's picture"
# The top zone's number sits at its centre, white, and turns yellow when a
# click selects the zone.
[ "$(pixel 172 142)" = ffffff ] || fallar "no number label at the top zone's centre"
xdotool mousemove 172 142 click 1
sleep 0.5
captura editor-zona-32767 >/dev/null
[ "$(pixel 172 142)" = ffff00 ] || fallar "a click on the top zone's number did not select it"
kill -0 "$app_pid" 2>/dev/null || fallar "lumiraga ended in the zone editor"
superada=1
