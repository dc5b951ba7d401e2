#!/usr/bin/env bash
# The program's services on the machine's own back ends, loaded where they
# are first used: at rest after the start none of the sound, joystick,
# camera or metafile libraries is mapped; an activity that plays a sound,
# shows a metafile and accepts the webcam and the joystick, started right
# after the program's start, loads all four modules, says there is no camera
# on this machine, shows its question and goes on. Then a second copy and a killed one.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

# The libraries the program loads on first use, as they are mapped.
moduls_carregats() {
  grep -oE 'lib(SDL2|Qt6Multimedia|sndfile|wmf|v4l2|lumi_[a-z]+)[^/ ]*\.so' "/proc/$app_pid/maps" | sort -u | tr '\n' ' '
}

unset LUMIRAGA_BACKENDS LUMIRAGA_SINTETIC
mkdir -p "$tmp/programa"
printf '[WEBCAM]\r\ndata=7/12/26\r\nx1=0\r\ny1=0\r\nx2=640\r\ny2=0\r\nx3=640\r\ny3=480\r\nx4=0\r\ny4=480\r\nwc_modus=1\r\n' \
  >"$tmp/programa/lumiraga.ini"
engegar
esperar_inici 10 "at the first start"
captura inici >/dev/null
carregats=$(moduls_carregats)
[ -z "$carregats" ] || fallar "at rest after the start these are already mapped: $carregats"

# A second copy is refused with message 31 and ends; the first goes on.
primer=$app_pid
engegar_programa
segon=$app_pid
llegir_missatge "from a second copy" "$(text_taula catala 31)"
timeout 5 tail --pid="$segon" -f /dev/null || fallar "the refused second copy did not end"
app_pid=$primer
kill -0 "$app_pid" 2>/dev/null || fallar "the first copy ended when a second one was refused"

activitat_serveis "$tmp/examples/primera/arrencada.lrq" 1
reengegar_programa "$tmp/examples/primera/arrencada.lrq"
# No camera here: the tracker cannot start and the program says so.
fins=$(($(ara_ms) + 10000))
until [[ "$(moduls_carregats)" == *liblumi_camera* ]]; do
  [ "$(ara_ms)" -lt "$fins" ] || fallar "the webcam activity never tried the camera (mapped: $(moduls_carregats))"
  sleep 0.1
done
sleep 1
captura sense-camera >/dev/null
xdotool key Return
esperar_primera_pregunta "of an activity started with the program"
sleep 1
kill -0 "$app_pid" 2>/dev/null || fallar "lumiraga ended while the activity played"
carregats=$(moduls_carregats)
for b in liblumi_sdl libSDL2 liblumi_media libQt6Multimedia liblumi_imatges libwmf liblumi_camera libv4l2; do
  [[ "$carregats" == *"$b"* ]] || fallar "$b is not mapped while the activity plays (mapped: $carregats)"
done
respondre space groc vermell "to the activity started with the program"
[ -z "$sense_reaccio" ] || fallar "$sense_reaccio"
captura resposta >/dev/null

# A copy killed outright leaves its lock file; it keeps no later start out.
kill -9 "$app_pid"
wait "$app_pid" 2>/dev/null
[ -e "$tmp/programa/lumiraga.lock" ] || fallar "the killed copy left no lock file to test against"
engegar_programa
esperar_inici 10 "after a copy was killed"
superada=1
