#!/usr/bin/env bash
# The webcam on the synthetic camera and our tracker: the tracked colour is
# chosen in the stand-in tracking window by clicking the disc, then an
# activity whose item waits for the object in a screen zone is played while
# the disc moves into it; the report counts a right answer.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

# A calibration stored: the camera frame onto the whole screen.
mkdir -p "$tmp/programa"
printf '[WEBCAM]\r\ndata=7/12/26\r\nx1=0\r\ny1=0\r\nx2=640\r\ny2=0\r\nx3=640\r\ny3=480\r\nx4=0\r\ny4=480\r\nwc_modus=1\r\n' \
  >"$tmp/programa/lumiraga.ini"

export LUMIRAGA_BACKENDS=camera:sintetic,media:sintetic,processos:sintetic
export LUMIRAGA_SINTETIC="camera:color=#2050E0,camera:realista,camera:cami=0 120 100;60 120 100"
engegar_sense_inici

# "Configurar > Imatge WebCam", then off again.
obrir_configurar
xdotool mousemove $((X + 140)) $((Y + 95)) click 1
sleep 1
captura imatge-webcam >/dev/null
obrir_configurar
xdotool mousemove $((X + 140)) $((Y + 95)) click 1
sleep 0.5

# "Configurar > Ombra Visor": the stand-in window; a click on the blue disc.
obrir_configurar
xdotool mousemove $((X + 140)) $((Y + 117)) click 1
esperar_finestra '^ Ombra Visor$' 5 || fallar "\"Configurar > Ombra Visor\" opened no window \" Ombra Visor\""
visor=$finestra
a_la_cantonada "$visor"
# The camera picture sits at the window's top left, inside its margin.
xdotool mousemove $((X + 11 + 120)) $((Y + 11 + 100)) click 1
sleep 0.5
captura ombra-visor >/dev/null
desar=$(xdotool search --onlyvisible --name '^ Ombra Visor$' | head -1)
[ "$desar" = "$visor" ] || fallar "the stand-in window went away after a click on the disc"
# "Desar", below the mask on the right.
xdotool mousemove $((X + 763)) $((Y + 408)) click 1
sleep 0.3
to=$(sed -n 's/^to=\([0-9]*\).*/\1/p' "$tmp/programa/lumiraga.ini")
[ -n "$to" ] && ((to > 215 && to < 235)) || fallar "the colour kept by \"Desar\" is hue \"$to\", not the blue disc's (about 225)"

# The activity, started from the command line: one item that waits for the
# object in zone 1 (the middle of the screen); the disc moves into it.
python3 - "$tmp/examples/primera/webcam.lrq" <<'PY'
import sys
zeros = lambda n: ["0"] * n
web = zeros(12)
web[11] = "1"
L = ['"LUMIRAGA7.1"', "1"] + zeros(11 + 8 + 15 + 3) + web + zeros(4)
L += ['""', '"W01"', "1", "1", '"1\xbbestrella.jpg"', '"1\xbbcreu.gif"', '""', '""', "60", "0", '"1\xbbcercle.jpg"']
L += ["0", '"Arial"', "24", "-1", "0", "65535", "0", '""', '""', "0", "0", "0", '""', "0", "0", "0", "0",
      "5", "0", "1", "1", '"1"', '""', '""', "1"]
L += ["1", "0", "0", "1024", "768", '""', "412", "284", "612", "484", '""', '""', ""]
open(sys.argv[1], "wb").write("\r\n".join(L).encode("cp1252"))
PY
export LUMIRAGA_SINTETIC="camera:color=#2050E0,camera:realista,camera:cami=0 120 100;4 120 100;6 320 240;30 320 240"
reengegar_programa "$tmp/examples/primera/webcam.lrq"
sleep 2.5
captura punter-webcam >/dev/null
sleep 6
captura disc-a-la-zona >/dev/null
llegir_informe
be=$(printf '%s\n' "$informe_text" | tr -d '\r' | sed -n 's/.*Respostes BE[^0-9]*\([0-9][0-9]*\).*/\1/p' | head -1)
[ -n "$be" ] && ((be >= 1)) || fallar "the report counts no right answer (\"Respostes BE\" $be) after the disc moved into the zone"
captura informe-tancat >/dev/null
xdotool key Escape

# The camera goes away during a run: the run goes on, and the teacher learns
# it once Esc gives the window back.
export LUMIRAGA_SINTETIC="camera:color=#2050E0,camera:realista,camera:desapareix@3"
reengegar_programa "$tmp/examples/primera/webcam.lrq"
sleep 5
captura sense-camera-al-mig >/dev/null
xdotool key Escape
llegir_missatge "after a run that lost the camera" "$(text_taula catala 'jugador|dispositius_perduts')" \
  "$(text_taula catala 'OmbraVisor|sense_camera')"
superada=1
