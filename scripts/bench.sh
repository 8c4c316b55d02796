#!/usr/bin/env bash
# Builds the Windows program and runs the benchmark in a private Wine session; prints its figures, each
# beside its floor: for the 64-bit build, and for the 32-bit one where this machine runs 32-bit programs.
# Installs what is missing first.
#   scripts/bench.sh            SLIDEWELL_BUILD_ROOT=DIR to build somewhere other than ./build
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/lib/build-env.sh
install_what_is_missing
source scripts/lib/wine-env.sh
builds=$(runnable_windows_builds)
for preset in $builds; do
  build "$preset" --target slidewell_bench
done
[ "$SLIDEWELL_WINE32" = 1 ] || say_not_run_without_32bit "32-bit benchmark"
bash scripts/wine-session.sh bash -c '
  for build in $2; do
    "$SLIDEWELL_WINE" "$1/$build/bench/slidewell_bench.exe" "$1/$build/src/startup/slidewell.scr"
  done' _ "$build_root" "$builds"
