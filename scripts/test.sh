#!/usr/bin/env bash
# Installs what is missing, builds the window-free logic natively and slidewell.scr for 64-bit and
# 32-bit Windows, and runs every test: the logic natively, the rest under Wine on a private display.
#   scripts/test.sh            all of it
#   SLIDEWELL_BUILD_ROOT=DIR   build somewhere other than ./build
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build_root=${SLIDEWELL_BUILD_ROOT:-$root/build}
started=$(date +%s)

bash scripts/install-deps.sh

for preset in native win64 win32; do
  cmake --preset "$preset" -B "$build_root/$preset" >/dev/null
  cmake --build "$build_root/$preset" --parallel "$(nproc)"
done

ctest --test-dir "$build_root/native" --output-on-failure
bash scripts/wine-session.sh bash -c '
  set -e
  ctest --test-dir "$1/win32" --output-on-failure
  ctest --test-dir "$1/win64" --output-on-failure' _ "$build_root"

echo "All tests passed in $(( $(date +%s) - started )) s."
