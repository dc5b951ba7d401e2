#!/usr/bin/env bash
# A word activity after a sound-level run starts and plays: opened and started
# from the menus, and chained at the end of the level's total time. One that
# needs both is refused, told once the window is given back, and adds no run
# to the report.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

export SDL_AUDIODRIVER=dummy LUMIRAGA_BACKENDS=microfon:sintetic
engegar_sense_inici
p="$tmp/examples/primera"
# No instruction; the first item takes a level from 20, or word 1 of "1,2,"
# (patterns sought in "sons"; chained, it shows a green square); 3 s of total
# time, then the next activity.
fer() { LC_ALL=C sed "207s/.*/\"\"\r/;$2" "$p/primera.lrq" >"$p/$1.lrq"; }
n='37s/.*/1\r/;38s/.*/20\r/;39s/.*/128\r/' v='23s/.*/1\r/;202s/.*/"1,2,"\r/;203s/.*/"sons"\r/'
fer nivell "$n" && fer veu "$v" && fer tots "$n;$v" && fer veu2 "$v;66s/.*/\"1"$'\xbb'"quadrat.gif\"\r/"
for s in veu2 tots; do fer "a_$s" "$n;208s/.*/3\r/;226s/.*/\"$s.lrq\"\r/"; done
preguntes() { printf '%s\n' "$informe_text" | sed -n 's/^Nombre de Preguntes *=[[:space:]]*\([0-9]*\).*/\1/p' | xargs; }

for f in nivell veu; do
  menu_opcions 2 && sleep 0.3 && xdotool key Down Return # Fitxers > Obrir
  esperar_finestra '^Fitxers Planificació Lumi Raga$' 5 || fallar "\"Obrir\" did not bring the open dialog"
  triar_al_dialeg_obrir "$p" $f.lrq
  ! esperar_finestra '^LUMIRAGA$' 1 || fallar "opening $f.lrq was refused: $(captura refusat)"
  menu_opcions 4 && esperar_primera_pregunta "of $f.lrq from the menus"
  xdotool key Escape
done
{ llegir_informe && [ "$(preguntes)" = 1 ]; } || fallar "the word run from the menus asked $(preguntes) questions"

reengegar_programa "$p/a_veu2.lrq" && esperar_primera_pregunta "of the level run"
{ esperar_color verd 12 && ! esperar_finestra '^LUMIRAGA$' 0; } || fallar "the chained word activity did not start"
{ llegir_informe && [ "$(preguntes)" = "1 1" ]; } || fallar "the chain's runs asked $(preguntes) questions, not 1 and 1"

reengegar_programa "$p/a_tots.lrq" && esperar_primera_pregunta "of the level run"
{ esperar_finestra '^LUMIRAGA$' 8 && esperar_finestra '^LUMIRAGA - ' 0; } ||
  fallar "no refusal of the activity that needs both, or not over the window given back"
llegir_missatge "chaining to both" "$(text_taula catala 57)" "$(text_taula catala 53)"
{ llegir_informe && [ "$(preguntes)" = 1 ]; } || fallar "the refused start added a run: $(preguntes)"
superada=1
