#!/usr/bin/env bash
# The start dialog closed with Esc at the first start and opened again with
# "Opcions > Iniciar", then the same run as from the first one: every answer
# is judged and counted.
# shellcheck source=tests/e2e/comu.sh source-path=SCRIPTDIR/../..
source "$(dirname "$0")/comu.sh"

engegar_sense_inici
menu_opcions 1
esperar_inici 5 "after \"Opcions > Iniciar\""
captura inici-del-menu >/dev/null
primera_des_de_inici
superada=1
