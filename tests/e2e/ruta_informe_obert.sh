#!/usr/bin/env bash
# A run, its report left open, and a second run started from "Opcions >
# Engegar": the open report window does not keep the learner's answers from
# being judged and counted.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

engegar
titol=$(titol_inici)
esperar_finestra "^$titol\$" 10 || fallar "no start dialog titled \"$titol\" at the first start"
engegar_des_de_inici
esperar_color vermell 15 ||
  fallar "the first question (a red circle) did not come after the instruction (the screen's middle showed $color_vist)"
respondre space groc verd "on the first item of the first run"
llegir_informe
comprovar_informe "Nombre de Respostes=1" "Respostes BE=1" "Respostes malament=0"

menu_opcions 4
esperar_color vermell 15 ||
  fallar "the second run's first question (a red circle) did not come (the screen's middle showed $color_vist)"
captura segona-execucio >/dev/null
respostes_donades=0
respondre a blanc vermell "on the first item of the second run (Space only)" &&
  respondre space groc verd "on the first item of the second run"
llegir_informe
comprovar_informe "Nombre de Respostes=$respostes_donades" "Respostes BE=1" "Respostes malament=1" \
  "Nombre de Preguntes=2" "Preguntes no respostes=1"
superada=1
