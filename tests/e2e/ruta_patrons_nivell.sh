#!/usr/bin/env bash
# A learner's patterns answer in every word run. Trained, the training
# window closed with "Tancar", "Crear Patrons" opened again on the complete
# set with "Millorar Patrons" open beside it, both closed: a word run. Then
# saved and, in a program started again, opened with "Obrir Patrons" (no
# pattern folder in the activity to open them again); a level activity runs,
# then the word activity, from the menus and chained at the end of the
# level's total time. Saying "a" answers the word activity each time, as the
# report counts.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

microfon_de veu_entrenament.flac

engegar
p="$tmp/examples/primera"
# The level activity: no instruction, the first item takes only a level of
# 128 (never heard here, so nothing but a word moves the screen on),
# 3 s of total time, then the word activity (primera.lrq: item 1 takes word
# 1, item 2 word 2, the list "1,2,").
LC_ALL=C sed '207s/.*/""\r/;37s/.*/1\r/;38s/.*/128\r/;39s/.*/128\r/' "$p/primera.lrq" >"$p/nivell.lrq"
LC_ALL=C sed '208s/.*/3\r/;226s/.*/"primera.lrq"\r/' "$p/nivell.lrq" >"$p/a_primera.lrq"
paraules_a_primera
# "Tancar", at the window's bottom right.
tancar() {
  esperar_finestra '^Entrenament de sons$' 5 || fallar "\"Crear Patrons\" opened no training window"
  xdotool windowraise "$finestra"
  eval "$(geometria "$finestra")"
  xdotool mousemove $((X + WIDTH - 50)) $((Y + HEIGHT - 23)) click 1
  esperar_sense_finestra '^Entrenament de sons$' 5 || fallar "\"Tancar\" did not close the training window"
}
# The right answers of the report's last run: a question that went
# unanswered moves on to the next item too, so the colour alone proves nothing.
respon() {
  esperar_color 'groc|verd' 15 || fallar "the word activity $1 did not move on (the screen's middle stayed $color_vist)"
  sleep 1
  captura "paraula-$2" >/dev/null
  llegir_informe
  be=$(printf '%s\n' "$informe_text" | sed -n 's/^Respostes BE *=[[:space:]]*\([0-9]*\).*/\1/p' | tail -1)
  [ "${be:-0}" -ge 1 ] || fallar "saying \"a\" did not answer the word activity $1 (Respostes BE=${be:-missing})"
}
enregistrar_patrons
sleep 8
tancar
menu_sons 1
sleep 0.5
captura complet >/dev/null
menu_sons 2
esperar_finestra '^Patrons de sons$' 5 || fallar "\"Millorar Patrons\" opened no patterns window beside the training window"
patrons=$finestra
captura patrons >/dev/null
tancar
xdotool windowclose "$patrons"
esperar_sense_finestra '^Patrons de sons$' 5 || fallar "the patterns window did not close"
menu_opcions 4 && esperar_primera_pregunta "of the word run after the training window"
respon "after the training window was opened and closed on a complete set" finestra

menu_sons 3
esperar_finestra '^Desar patrons$' 5 || fallar "\"Guardar Patrons\" opened no save dialog"
escriure_al_dialeg "$tmp/sons.SonsVxdSR02"
esperar_sense_finestra '^Desar patrons$' 5 || fallar "the save dialog did not close"
sleep 1
[ -s "$tmp/sons.SonsVxdSR02" ] || fallar "no pattern file was saved"

reengegar_programa
esperar_inici 10 "at the second start"
xdotool key Escape
menu_sons 0
esperar_finestra '^Obrir patrons$' 5 || fallar "\"Obrir Patrons\" opened no file dialog"
escriure_al_dialeg "$tmp/sons.SonsVxdSR02"
esperar_sense_finestra '^Obrir patrons$' 5 || fallar "the saved patterns did not open within 5 s"

obrir() {
  menu_opcions 2 && sleep 0.3 && xdotool key Down Return # Fitxers > Obrir
  esperar_finestra '^Fitxers Planificació Lumi Raga$' 5 || fallar "\"Obrir\" did not bring the open dialog"
  triar_al_dialeg_obrir "$p" "$1"
}
obrir nivell.lrq
menu_opcions 4 && esperar_primera_pregunta "of the level run"
xdotool key Escape
obrir primera.lrq
menu_opcions 4 && esperar_primera_pregunta "of the word run"
respon "after a level run from the menus" menus
obrir a_primera.lrq
menu_opcions 4 && esperar_primera_pregunta "of the chained level run"
respon "chained after a level run" encadenada
superada=1
