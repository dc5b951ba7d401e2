#!/usr/bin/env bash
# A run, its report left open, and a second run started from "Opcions >
# Engegar": the open report window does not keep the learner's answers from
# being judged and counted.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

engegar
esperar_inici 10 "at the first start"
engegar_des_de_inici
esperar_primera_pregunta "of the first run"
respondre space groc verd "on the first item of the first run"
llegir_informe
comprovar_informe "Nombre de Respostes=1" "Respostes BE=1" "Respostes malament=0"

menu_opcions 4
esperar_primera_pregunta "of the second run"
respostes_donades=0
respondre a blanc vermell "on the first item of the second run (Space only)" &&
  respondre space groc verd "on the first item of the second run"
llegir_informe
comprovar_informe "Nombre de Respostes=$respostes_donades" "Respostes BE=1" "Respostes malament=1" \
  "Nombre de Preguntes=2" "Preguntes no respostes=1"
superada=1
