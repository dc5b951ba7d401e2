#!/usr/bin/env bash
# The route most teachers take first: the program started with no activity,
# the start dialog of the first activation, "Engegar Exercici", the example
# activity chosen in the open dialog, right and wrong answers, Esc, and the
# report through "Opcions > Informe".
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

engegar
titol=$(titol_inici)
esperar_finestra "^$titol\$" 10 || fallar "no start dialog titled \"$titol\" at the first start"
captura inici >/dev/null
engegar_des_de_inici
jugar_primera
llegir_informe
comprovar_informe "Nombre de Respostes=$respostes_donades" "Respostes BE=3" "Respostes malament=2" \
  "Nombre de Preguntes=4" "Preguntes no respostes=1"
superada=1
