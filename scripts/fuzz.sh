#!/usr/bin/env bash
# Fuzzes the activity file reader for FUZZ_SECONDS (default 60) seconds in a
# clang build of its own; exits non-zero when the fuzzer finds a crash.
set -euo pipefail
cd "$(dirname "$0")/.."
segons=${FUZZ_SECONDS:-60}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja \
    -DLUMI_FUZZ=ON -DLUMI_TESTS=OFF -DLUMI_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-fuzz --target fuzz_lector
# New inputs go to a scratch copy so the corpus in the repository stays small.
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp fuzz/corpus/* "$tmp/"
mkdir -p build-fuzz/troballes
build-fuzz/fuzz/fuzz_lector "$tmp" -max_total_time="$segons" -max_len=65536 -rss_limit_mb=2048 \
    -artifact_prefix=build-fuzz/troballes/ -print_final_stats=1
