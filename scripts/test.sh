#!/usr/bin/env bash
# Builds LumiRaga and runs every test (headless: offscreen Qt, a private
# runtime folder, a virtual X server for the tests that need one).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -m 700 "$tmp/run" "$tmp/home"
export XDG_RUNTIME_DIR="$tmp/run" HOME="$tmp/home" QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure -j "$(nproc)" --timeout 300
