#!/usr/bin/env bash
# Esc gives the window back at once: during a stimulus of 8 s, and 0.5 s into
# right reactions of 8 s (a picture, a sound, a video, a movie, a slide show,
# a wait); the report counts nothing after it and its time ends at it.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

engegar
a="$tmp/examples/primera/esc.lrq"
for cas in estimul estrella.jpg bravo.wav video.avi peli.swf diapositives.pps ESPERA_80; do
  # No instruction; the first item's stimulus, or its right reaction, lasts 8 s
  # (the video, movie and show need not exist: they last their time all the same).
  canvi="58s/.*/8\r/;60s/.*/\"1"$'\xbb'"$cas\"\r/" && [ $cas = estimul ] && canvi='65s/.*/8\r/'
  LC_ALL=C sed "$canvi;207s/.*/\"\"\r/" "$tmp/examples/primera/primera.lrq" >"$a"
  reengegar_programa "$a"
  esperar_primera_pregunta "($cas)"
  inici=$(ara_ms)
  [ $cas = estimul ] || { xdotool key space && sleep 0.5; }
  esc=$(ara_ms) && xdotool key Escape
  { esperar_finestra '^LUMIRAGA - ' 8 && (($(ara_ms) - esc < 4000)); } ||
    fallar "Esc during the $cas gave the window back after $(($(ara_ms) - esc)) ms"
  llegir_informe
  comprovar_informe "Nombre de Preguntes=1" "Respostes BE=$([ $cas = estimul ] && echo 0 || echo 1)"
  (($(comptador "Temps de l'exercici") <= (esc - inici) / 1000 + 2)) ||
    fallar "the report's time of the run ($cas) goes on after the Esc: $(comptador "Temps de l'exercici") s"
done
superada=1
