#!/usr/bin/env bash
# Builds the Windows program and runs the benchmark in a private Wine session; prints its figures, each
# beside its floor: for the 64-bit build, and for the 32-bit one where this machine runs 32-bit programs.
#   scripts/bench.sh            SLIDEWELL_BUILD_ROOT=DIR to build somewhere other than ./build
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/wine-env.sh
builds="win64"
if [ "$SLIDEWELL_WINE32" = 1 ]; then
  builds="win64 win32"
fi
for preset in $builds; do
  build=${SLIDEWELL_BUILD_ROOT:-$root/build}/$preset
  cmake --preset "$preset" -B "$build" >/dev/null
  cmake --build "$build" --target slidewell_bench
done
if [ "$SLIDEWELL_WINE32" != 1 ]; then
  echo "32-bit benchmark not run: this machine's kernel does not run 32-bit programs."
fi
bash scripts/wine-session.sh bash -c '
  for build in $2; do
    "$SLIDEWELL_WINE" "$1/$build/bench/slidewell_bench.exe" "$1/$build/src/startup/slidewell.scr"
  done' _ "${SLIDEWELL_BUILD_ROOT:-$root/build}" "$builds"
