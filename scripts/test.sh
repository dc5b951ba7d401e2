#!/usr/bin/env bash
# Builds LumiRaga and runs every test (headless: offscreen Qt, a private
# runtime folder, a private sound server with a null output so media really
# play, a virtual X server for the tests that need one).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
scripts/comprovar_format.sh
tmp=$(mktemp -d)
pulse_pid=""
acabar() {
  if [ -n "$pulse_pid" ]; then
    kill "$pulse_pid" 2>/dev/null || true
    wait "$pulse_pid" 2>/dev/null || true
  fi
  rm -rf "$tmp"
}
trap acabar EXIT
mkdir -m 700 "$tmp/run" "$tmp/home"
export XDG_RUNTIME_DIR="$tmp/run" HOME="$tmp/home" QT_QPA_PLATFORM=offscreen

# Sound server: without one the media tests that need an output skip.
if command -v pulseaudio >/dev/null && command -v pactl >/dev/null; then
  pulseaudio --daemonize=no --exit-idle-time=-1 -n --log-target=file:"$tmp/pulse.log" \
    -L module-native-protocol-unix -L module-null-sink >/dev/null 2>&1 &
  pulse_pid=$!
  for _ in $(seq 100); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.05
  done
  pactl info >/dev/null 2>&1 || echo "warning: no sound server; media playback tests will skip" >&2
fi

cd build
ctest --output-on-failure -j "$(nproc)" --timeout 300

# The activity file reader meets random input for a bounded time.
cd ..
scripts/fuzz.sh
