#!/usr/bin/env bash
# Installs what is missing, builds the window-free logic natively (plain and with the sanitizers) and
# slidewell.scr for 64-bit and 32-bit Windows (with GCC, and with clang as a second compiler), and runs
# every test: the format of the code, the logic natively, the rest under Wine on a private display, and
# checks that a release comes out the same from the same commit and can be signed.
#   scripts/test.sh            all of it
#   SLIDEWELL_BUILD_ROOT=DIR   build somewhere other than ./build
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
started=$(date +%s)
layer_started=$started
timings=()

source scripts/build-env.sh
source scripts/wine-env.sh

# Closes a layer: notes how long it took since the previous one.
layer() {
  local now
  now=$(date +%s)
  timings+=("$1: $(( now - layer_started )) s")
  layer_started=$now
}

layer "installs"
# First, since it takes a second: the code is formatted as .clang-format says.
bash scripts/check-format.sh
layer "format check"
build native
build sanitize
build win64
build win32
# The second compiler builds the program; its warnings are errors as with GCC.
build clang-win64 --target slidewell
build clang-win32 --target slidewell
layer "builds"

ctest --test-dir "$build_root/native" --output-on-failure
ctest --test-dir "$build_root/sanitize" --output-on-failure
layer "native unit tests, plain and sanitized"

# Each fuzz target briefly, from its corpus: a parser that crashes on some input fails the run.
bash scripts/fuzz.sh 3
layer "fuzzing, 3 s a target"

# What the release relies on: the programs built again elsewhere, the zip made twice, a signature checked.
bash tests/release/run.sh "$build_root"
layer "release checks"

# Where Wine cannot run 32-bit programs, the 32-bit programs are built and their tests are not run.
[ "$SLIDEWELL_WINE32" = 1 ] || say_not_run_without_32bit "32-bit tests"
for build in $(runnable_windows_builds); do
  bash scripts/wine-session.sh ctest --test-dir "$build_root/$build" --output-on-failure
  layer "$build tests under Wine"
done

bash tests/installer/run.sh "$build_root"
layer "installer tests under Wine"

printf '%s\n' "${timings[@]}"
echo "All tests passed in $(( $(date +%s) - started )) s."
