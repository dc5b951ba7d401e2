#!/usr/bin/env bash
# Fails when a module needs a symbol that neither the program nor the
# libraries it and the module bring define: the system's loader binds every
# symbol of the program with the module preloaded, as when it is loaded on
# first use, and reports each one it cannot find.
# Usage: comprovar_moduls.sh PROGRAM MODULE...
set -uo pipefail
programa=$1
shift
carregador=$(readelf -l "$programa" | sed -n 's/.*interpreter: \(.*\)]$/\1/p')
[ -x "$carregador" ] || {
  echo "$programa: no program interpreter found" >&2
  exit 1
}
# The loader splits --preload at blanks and colons: each module is named
# through a link in a folder whose path holds neither.
enllacos=$(mktemp -d -p /tmp)
trap 'rm -rf "$enllacos"' EXIT
errors=0
for modul in "$@"; do
  ln -sf "$(realpath "$modul")" "$enllacos/$(basename "$modul")"
  if falten=$(LD_TRACE_LOADED_OBJECTS=1 LD_WARN=yes LD_BIND_NOW=yes "$carregador" --preload "$enllacos/$(basename "$modul")" "$programa" 2>&1 |
    grep -E 'undefined symbol|not found|cannot be preloaded'); then
    echo "$(basename "$modul") does not load into $(basename "$programa"):" >&2
    echo "$falten" >&2
    errors=1
  fi
done
exit $errors
