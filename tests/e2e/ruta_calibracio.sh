#!/usr/bin/env bash
# The webcam calibration window, opened from the player's webcam menu, on
# the synthetic camera looking at a lit screen: a still is taken, the four
# screen corners are clicked on it, Yes stores them in the program ini; then
# test mode follows the moving disc.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

export LUMIRAGA_BACKENDS=camera:sintetic,media:sintetic,processos:sintetic
export LUMIRAGA_SINTETIC="camera:pantalla=100 50;540 60;600 430;40 420,camera:cami=0 200 150;3 450 150;6 450 350;9 200 350;12 200 150"
engegar_sense_inici

# "Configurar > Calibrar Sistema WebCam".
obrir_configurar
xdotool mousemove $((X + 140)) $((Y + 73)) click 1
esperar_finestra '^Calibrar Ombra Visor$' 5 || fallar "\"Calibrar Sistema WebCam\" opened no calibration window"
calib=$finestra
a_la_cantonada "$calib"
captura obert >/dev/null
# The picture's camera frame starts here in the window.
px=$((X + 154))
py=$((Y + 35))

# "Fons", then "Calibrar mides": the still of the lit screen shows.
xdotool mousemove $((X + 18)) $((Y + 154)) click 1
xdotool mousemove $((X + 18)) $((Y + 102)) click 1
sleep 1
[ -s "$tmp/programa/tmp.bmp" ] || fallar "\"Calibrar mides\" wrote no still tmp.bmp"
captura fotografia >/dev/null
# The screen's corners, each clicked in its quarter.
for punt in "100 50" "540 60" "600 430" "40 420"; do
  read -r cx cy <<<"$punt"
  xdotool mousemove $((px + cx)) $((py + cy)) click 1
  sleep 0.2
done
captura cantonades >/dev/null
# "Calibrar mides" again ends it: "Calibrat acabat?", Yes.
xdotool mousemove $((X + 18)) $((Y + 102)) click 1
sleep 0.7
captura pregunta >/dev/null
xdotool key Return
sleep 0.5
ini="$tmp/programa/lumiraga.ini"
valors=$(tr -d '\r' <"$ini" | sed -n 's/^\([xy][1-4]\)=\(.*\)/\1=\2/p' | sort | tr '\n' ' ')
[ "$valors" = "x1=100 x2=540 x3=600 x4=40 y1=50 y2=60 y3=430 y4=420 " ] ||
  fallar "the ini holds \"$valors\", not the four corners clicked"
grep -q '^data=' "$ini" || fallar "no calibration date in the ini"
captura desat >/dev/null

# "Test": the tracker follows the moving disc.
# The tracker's marker (magenta) on the picture: its first pixel.
marcador() {
  convert "$1" -crop "640x480+$((px))+$((py))" +repage txt:- 2>/dev/null |
    grep -m1 -i '#FF00FF' | cut -d: -f1
}
xdotool mousemove $((X + 18)) $((Y + 128)) click 1
sleep 2
m1=$(marcador "$(captura test-1)")
sleep 2
m2=$(marcador "$(captura test-2)")
{ [ -n "$m1" ] && [ -n "$m2" ]; } || fallar "test mode shows no tracker marker ($m1, $m2)"
[ "$m1" != "$m2" ] || fallar "the tracker marker stayed at $m1 while the disc moved"
xdotool mousemove $((X + 18)) $((Y + 128)) click 1
sleep 0.3
# "Tancar": the window goes, the settings are kept.
xdotool mousemove $((X + 67)) $((Y + 333)) click 1
esperar_sense_finestra '^Calibrar Ombra Visor$' 5 || fallar "\"Tancar\" left the calibration window open"
tr -d '\r' <"$ini" | grep -q '^wc_retard=100$' || fallar "the delay was not kept in the ini"
superada=1
