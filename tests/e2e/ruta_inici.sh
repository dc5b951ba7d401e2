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

# The example in random order: after each right answer, another item.
sed '216s/.*/"0"\r/' "$tmp/examples/primera/primera.lrq" >"$tmp/examples/primera/atzar.lrq"
reengegar_programa "$tmp/examples/primera/atzar.lrq"
declare -A resposta=([vermell]=space [verd]=clic [blau]=Right)
for i in 1 2 3 4 5; do
  esperar_color "vermell|verd|blau" 15 && [ "$color_vist" != "${anterior:-}" ] ||
    fallar "in random order question $i did not come, or was the last one again (the middle showed $color_vist)"
  anterior=$color_vist && captura "atzar-$i" >/dev/null
  respondre "${resposta[$anterior]}" groc groc "on the $anterior item in random order" || fallar "$sense_reaccio"
done
superada=1
