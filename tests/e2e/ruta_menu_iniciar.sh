#!/usr/bin/env bash
# The start dialog closed with Esc at the first start and opened again with
# "Opcions > Iniciar", then the same run as from the first one: every answer
# is judged and counted.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

engegar
titol=$(titol_inici)
esperar_finestra "^$titol\$" 10 || fallar "no start dialog titled \"$titol\" at the first start"
xdotool key Escape
esperar_sense_finestra "^$titol\$" 5 || fallar "Esc did not close the first start dialog"
menu_opcions 1
esperar_finestra "^$titol\$" 5 || fallar "\"Opcions > Iniciar\" did not open the start dialog"
captura inici-del-menu >/dev/null
engegar_des_de_inici
jugar_primera
llegir_informe
comprovar_informe "Nombre de Respostes=$respostes_donades" "Respostes BE=3" "Respostes malament=2" \
  "Nombre de Preguntes=4" "Preguntes no respostes=1"
superada=1
