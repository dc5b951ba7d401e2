#!/usr/bin/env bash
# Without a camera, in each interface language, the menus that need a device
# say what is missing: "Configurar > Imatge WebCam", the calibration window
# (on its black picture, and its "Imatge WebCam" button, which leaves the
# other controls waiting) and "Crear Patrons" on an activity with no sounds.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

export LUMIRAGA_BACKENDS=camera:sintetic,media:sintetic,processos:sintetic LUMIRAGA_SINTETIC=camera:falla
engegar_sense_inici
for llengua in catala:catala espanol:español galego:galego; do
  l=${llengua%:*}
  printf '\xEF\xBB\xBF[inici]\r\nidioma=%s\r\n' "${llengua#*:}" >"$tmp/programa/lumiraga.ini"
  reengegar_programa
  inici=$(text_taula "$l" 'LumiRaga - Inici')
  esperar_finestra "^$inici\$" 10 || fallar "no start dialog \"$inici\""
  sleep 0.3
  xdotool key Escape
  esperar_sense_finestra "^$inici\$" 5 || fallar "Esc did not close the start dialog ($l)"
  obrir_configurar
  xdotool mousemove $((X + 140)) $((Y + 95)) click 1
  llegir_missatge "from \"Imatge WebCam\" without a camera ($l)" "$(text_taula "$l" 'OmbraVisor|sense_camera')"

  obrir_configurar
  xdotool mousemove $((X + 140)) $((Y + 73)) click 1
  esperar_finestra '^Calibrar Ombra Visor$' 5 || fallar "\"Calibrar Sistema WebCam\" opened no calibration window ($l)"
  a_la_cantonada "$finestra"
  xdotool mousemove $((X + 40)) $((Y + 50)) click 1
  controls=$(text_taula "$l" 'OVSDLL_CALIB|sense_camera')
  llegir_missatge "from the calibration window's \"Imatge WebCam\" ($l)" \
    "$(text_taula "$l" 'OmbraVisor|sense_camera')" "${controls%%«*}"
  captura "calibracio-$l" >/dev/null
  xdotool mousemove $((X + 67)) $((Y + 333)) click 1
  esperar_sense_finestra '^Calibrar Ombra Visor$' 5 || fallar "\"Tancar\" left the calibration window open ($l)"

  obrir_configurar
  xdotool key Down Down Right Down Return # Reconeixement de sons > Crear Patrons
  llegir_missatge "from \"Crear Patrons\" with no sounds ($l)" "$(text_taula "$l" 56)" \
    "$(text_taula "$l" 'motor_veu|sense_sons')"
done
superada=1
