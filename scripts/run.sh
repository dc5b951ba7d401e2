#!/usr/bin/env bash
# Builds LumiRaga and starts it on the bundled example activity.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
example="$PWD/examples/primera/primera.lrq"
args=()
[ -f "$example" ] && args=("$example")
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display: starting under a virtual X server (xvfb-run)." >&2
  exec xvfb-run -a build/app/lumiraga "${args[@]}"
fi
exec build/app/lumiraga "${args[@]}"
