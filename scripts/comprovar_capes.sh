#!/usr/bin/env bash
# Fails when a layer reaches a higher one: an include of a higher layer's
# header (or one by a relative path out of the folder) or a link to a higher
# layer's library. Layers from the bottom up, each with its library.
set -euo pipefail
cd "$(dirname "$0")/.."
capes=(core platform comuns devices player actions planner app)
biblios=(lumi_core lumi_platform lumi_comuns lumi_devices lumi_player lumi_accions lumi_planner lumi_app)
errors=0
for ((i = 0; i < ${#capes[@]}; i++)); do
  capa=${capes[$i]}
  [ -d "$capa" ] || continue
  for ((j = i + 1; j < ${#capes[@]}; j++)); do
    alta=${capes[$j]}
    if hits=$(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]+[\"<]$alta/" "$capa" --include='*.h' --include='*.cpp'); then
      echo "$capa/ includes headers of $alta/, a higher layer:" >&2
      echo "$hits" >&2
      errors=1
    fi
    if [ -f "$capa/CMakeLists.txt" ] && grep -nE "target_link_libraries\([^)]*\b${biblios[$j]}\b" "$capa/CMakeLists.txt" >&2; then
      echo "$capa/CMakeLists.txt links ${biblios[$j]}, a higher layer" >&2
      errors=1
    fi
  done
  if hits=$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"\.\./' "$capa" --include='*.h' --include='*.cpp'); then
    echo "$capa/ includes by a path out of its folder:" >&2
    echo "$hits" >&2
    errors=1
  fi
done
[ $errors -eq 0 ] && echo "layers: every include and link goes downward"
exit $errors
