#!/usr/bin/env bash
# A machine without a microphone, a camera or a joystick, in each interface
# language: an activity whose first item answers to all three names each
# missing device once at its start, by its own message, and plays on; the
# calibration window's "Calibrar mides" says once that there is no camera;
# where the sound system cannot start at all, a sound-level activity says so
# and does not start.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

export LUMIRAGA_BACKENDS=camera:sintetic,microfon:sintetic,joystick:sintetic,media:sintetic,processos:sintetic
export LUMIRAGA_SINTETIC=camera:falla,microfon:falla,joystick:falla
engegar_sense_inici
primera="$tmp/examples/primera"
# The example's first item also takes the joystick (line 14), voice word 1
# (line 23) and the webcam (line 40), with the word list "1,2"; and a copy
# whose first item takes a sound level from 20 to 128.
sed '14s/.*/1\r/;23s/.*/1\r/;40s/.*/1\r/;202s/.*/"1,2"\r/' "$primera/primera.lrq" >"$primera/dispositius.lrq"
sed '37s/.*/1\r/;38s/.*/20\r/;39s/.*/128\r/' "$primera/primera.lrq" >"$primera/nivell.lrq"

for llengua in catala:catala espanol:español galego:galego; do
  l=${llengua%:*}
  printf '\xEF\xBB\xBF[inici]\r\nidioma=%s\r\n' "${llengua#*:}" >"$tmp/programa/lumiraga.ini"
  reengegar_programa "$primera/dispositius.lrq"
  llegir_missatge "at the start of an activity that needs a microphone, a camera and a joystick ($l)" \
    "$(text_taula "$l" 'motor_veu|sense_microfon')"$'\n'"$(text_taula "$l" 'OmbraVisor|sense_camera')"$'\n'"$(text_taula "$l" 'joystick|sense_joystick')"
  [ "$l" != catala ] || esperar_primera_pregunta "after the missing devices were named"
  xdotool key Escape

  obrir_configurar
  xdotool mousemove $((X + 140)) $((Y + 73)) click 1
  esperar_finestra '^Calibrar Ombra Visor$' 5 || fallar "\"Calibrar Sistema WebCam\" opened no calibration window ($l)"
  a_la_cantonada "$finestra"
  xdotool mousemove $((X + 18)) $((Y + 102)) click 1
  llegir_missatge "from \"Calibrar mides\" without a camera ($l)" "$(text_taula "$l" 'OmbraVisor|sense_camera')"
  sleep 0.7
  ! xdotool search --onlyvisible --name '^LUMIRAGA$' >/dev/null 2>&1 ||
    fallar "\"Calibrar mides\" without a camera said it a second time ($l)"
  xdotool mousemove $((X + 67)) $((Y + 333)) click 1
  esperar_sense_finestra '^Calibrar Ombra Visor$' 5 || fallar "\"Tancar\" left the calibration window open ($l)"

  export SDL_AUDIODRIVER=cap_ni_un
  reengegar_programa "$primera/nivell.lrq"
  unset SDL_AUDIODRIVER
  llegir_missatge "at the start of a sound-level activity where the sound system does not start ($l)" \
    "$(text_taula "$l" 57)"$'\n'"$(text_taula "$l" 'motor_veu|sense_motor')"
  finestra_jugador
done
superada=1
