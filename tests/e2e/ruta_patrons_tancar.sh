#!/usr/bin/env bash
# "Crear Patrons" opened on a set whose sounds all have their takes and
# closed with "Tancar" without recording, "Millorar Patrons" open beside it
# and closed after it: the next word run answers "a".
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

microfon_de veu_entrenament.flac

engegar
paraules_a_primera
# "Tancar", at the window's bottom right.
tancar() {
  esperar_finestra '^Entrenament de sons$' 5 || fallar "\"Crear Patrons\" opened no training window"
  xdotool windowraise "$finestra"
  eval "$(geometria "$finestra")"
  xdotool mousemove $((X + WIDTH - 50)) $((Y + HEIGHT - 23)) click 1
  esperar_sense_finestra '^Entrenament de sons$' 5 || fallar "\"Tancar\" did not close the training window"
}
enregistrar_patrons
sleep 8
tancar

menu_sons 1
sleep 0.5
captura complet >/dev/null
# The patterns window opened beside it, and closed after it.
menu_sons 2
esperar_finestra '^Patrons de sons$' 5 || fallar "\"Millorar Patrons\" opened no patterns window beside the training window"
patrons=$finestra
captura patrons >/dev/null
tancar
xdotool windowclose "$patrons"
esperar_sense_finestra '^Patrons de sons$' 5 || fallar "the patterns window did not close"

menu_opcions 4
esperar_primera_pregunta "of the word run"
esperar_color 'groc|verd' 15 || fallar "the first item did not move on (the screen's middle stayed $color_vist)"
sleep 1
captura paraula-sentida >/dev/null
llegir_informe
be=$(comptador "Respostes BE")
[ "${be:-0}" -ge 1 ] || fallar "saying \"a\" did not answer the first item after the training window (Respostes BE=${be:-missing})"
superada=1
