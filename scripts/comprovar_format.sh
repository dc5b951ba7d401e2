#!/usr/bin/env bash
# Fails when a C++ file of the tree differs from what .clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t fitxers < <(git ls-files '*.cpp' '*.h')
if ! clang-format --dry-run --Werror "${fitxers[@]}" 2>/tmp/lumi-format.$$; then
  grep -E '(warning|error):' /tmp/lumi-format.$$ | sed -E 's/:[0-9]+:[0-9]+: (warning|error):.*//' | sort -u | head -20 >&2
  rm -f /tmp/lumi-format.$$
  echo "These files differ from .clang-format: run clang-format -i on them." >&2
  exit 1
fi
rm -f /tmp/lumi-format.$$
echo "format: every file follows .clang-format"
