#!/usr/bin/env bash
# Configures and builds into build/ (installing what is missing first).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMI_WERROR=$werror >/dev/null
cmake --build build -j "$(nproc)"
