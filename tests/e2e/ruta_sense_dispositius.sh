#!/usr/bin/env bash
# Without a camera, in each interface language, the menus that need a device
# say what is missing: "Configurar > Imatge WebCam", the calibration window
# ("Calibrar mides" once, its black picture, and its "Imatge WebCam" button,
# which leaves the other controls waiting) and "Crear Patrons" on an activity
# with no sounds; so does the start of an activity that needs a missing device,
# and "Ajuda > Index" where nothing opens documents (no xdg-open on PATH):
# the page's path, from a program in a deep folder with blanks and accents,
# copied whole.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

export LUMIRAGA_BACKENDS=camera:sintetic,microfon:sintetic,joystick:sintetic,media:sintetic,processos:sintetic
export LUMIRAGA_SINTETIC=camera:falla,microfon:falla,joystick:falla
fons="$tmp/construccio-de-lumiraga-llarga ñ/à é/lumiraga"
mkdir -p "$fons" && cp -r "$programa" "$(dirname "$programa")"/{liblumi_*.so,ajuda} "$fons/"
programa=$fons/lumiraga
engegar_sense_inici
# Item 1 takes the joystick (line 14), word 1 (23), the webcam (40); or a sound level.
primera=$tmp/examples/primera
sed '14s/.*/1\r/;23s/.*/1\r/;40s/.*/1\r/;202s/.*/"1,2"\r/' "$primera/primera.lrq" >"$primera/dispositius.lrq"
sed '37s/.*/1\r/;38s/.*/20\r/;39s/.*/128\r/' "$primera/primera.lrq" >"$primera/nivell.lrq"
mkdir -p "$tmp/bin" && ln -s "$(command -v env)" "$tmp/bin/env"
for llengua in catala:catala:ca espanol:español:es galego:galego:gl; do
  IFS=: read -r l nom codi <<<"$llengua"
  printf '\xEF\xBB\xBF[inici]\r\nidioma=%s\r\n' "$nom" >"$tmp/programa/lumiraga.ini"
  LUMIRAGA_BACKENDS=$LUMIRAGA_BACKENDS,processos:real PATH="$tmp/bin" reengegar_programa
  inici=$(text_taula "$l" 'LumiRaga - Inici')
  esperar_finestra "^$inici\$" 10 || fallar "no start dialog \"$inici\""
  sleep 0.3
  xdotool key Escape
  esperar_sense_finestra "^$inici\$" 5 || fallar "Esc did not close the start dialog ($l)"
  finestra_jugador && eval "$(geometria "$finestra")"
  triar_menu $((X + 225)) $((Y + 9)) 1 Ajuda # after "Idioma" in every language
  pagina="$(readlink -f "$fons")/ajuda/$codi.html"
  llegir_missatge "from \"Ajuda > Index\" without an opener ($l)" "$pagina"
  [ "$(xclip -o -selection clipboard)" = "$pagina" ] || fallar "the help page's path was not copied whole ($l)"
  obrir_configurar
  xdotool mousemove $((X + 140)) $((Y + 95)) click 1
  llegir_missatge "from \"Imatge WebCam\" without a camera ($l)" "$(text_taula "$l" 'OmbraVisor|sense_camera')"

  obrir_configurar
  xdotool mousemove $((X + 140)) $((Y + 73)) click 1
  esperar_finestra '^Calibrar Ombra Visor$' 5 || fallar "\"Calibrar Sistema WebCam\" opened no calibration window ($l)"
  a_la_cantonada "$finestra"
  xdotool mousemove $((X + 18)) $((Y + 102)) click 1
  llegir_missatge "from \"Calibrar mides\" ($l)" "$(text_taula "$l" 'OmbraVisor|sense_camera')"
  sleep 0.7
  ! xdotool search --onlyvisible --name '^LUMIRAGA$' >/dev/null || fallar "\"Calibrar mides\" said it twice ($l)"
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

  reengegar_programa "$primera/dispositius.lrq"
  llegir_missatge "at the start of an activity that needs the three ($l)" "$(text_taula "$l" 'motor_veu|sense_microfon')
$(text_taula "$l" 'OmbraVisor|sense_camera')
$(text_taula "$l" 'joystick|sense_joystick')"
  [ "$l" != catala ] || esperar_primera_pregunta "after the missing devices were named"
  SDL_AUDIODRIVER=cap_ni_un reengegar_programa "$primera/nivell.lrq"
  llegir_missatge "at a sound-level start without a sound system ($l)" "$(text_taula "$l" 57)
$(text_taula "$l" 'motor_veu|sense_motor')"
done
superada=1
