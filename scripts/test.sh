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
source scripts/wine-env.sh

build() {
  cmake --preset "$1" -B "$build_root/$1" >/dev/null
  cmake --build "$build_root/$1" --parallel "$(nproc)" "${@:2}"
}

build native
build win64
if [ "$SLIDEWELL_WINE32" = 1 ]; then
  build win32
  windows_builds="win32 win64"
else
  # Wine cannot run 32-bit programs on this kernel: the 32-bit program is built, its tests are not.
  build win32 --target slidewell
  echo "32-bit tests not run: this machine's kernel does not run 32-bit programs."
  windows_builds="win64"
fi

ctest --test-dir "$build_root/native" --output-on-failure
bash scripts/wine-session.sh bash -c '
  set -e
  for build in $2; do ctest --test-dir "$1/$build" --output-on-failure; done' _ "$build_root" "$windows_builds"
bash tests/installer/run.sh "$build_root"

echo "All tests passed in $(( $(date +%s) - started )) s."
