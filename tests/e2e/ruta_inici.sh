#!/usr/bin/env bash
# The route most teachers take first: the program started with no activity,
# the start dialog of the first activation, "Engegar Exercici", the example
# activity chosen in the open dialog, right and wrong answers, Esc, and the
# report through "Opcions > Informe".
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

engegar
esperar_inici 10 "at the first start"
captura inici >/dev/null
primera_des_de_inici
superada=1
