#!/usr/bin/env bash
# Builds the 64-bit Windows program and runs the benchmark in a private Wine session; prints its figures.
#   scripts/bench.sh            SLIDEWELL_BUILD_ROOT=DIR to build somewhere other than ./build
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=${SLIDEWELL_BUILD_ROOT:-$root/build}/win64
cmake --preset win64 -B "$build" >/dev/null
cmake --build "$build" --target slidewell_bench
bash scripts/wine-session.sh bash -c '"$SLIDEWELL_WINE" "$1/bench/slidewell_bench.exe" "$1/src/startup/slidewell.scr"' _ "$build"
