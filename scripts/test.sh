#!/usr/bin/env bash
# Installs what is missing, then runs every layer of tests, each to its end whatever the others came to:
# the format of the code and the order of its wings; the builds (the window-free logic natively, plain
# and with the sanitizers; slidewell.scr and its tests for 64-bit and 32-bit Windows, and the program with
# clang as a second compiler); the logic natively; fuzzing; what a release relies on; the Windows
# builds' tests under Wine on a private display, and on a display of two monitors; the setup program and
# the Windows Installer packages in a 64-bit and in a 32-bit Wine prefix. It ends with every layer as
# passed, failed or not run (and why), and a last line "N passed, M failed"; it exits non-zero when a
# layer failed.
#   scripts/test.sh
#   SLIDEWELL_BUILD_ROOT=DIR   build somewhere other than ./build
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 1
started=$(date +%s)

source scripts/lib/build-env.sh
source scripts/lib/wine-env.sh
source scripts/lib/layers.sh
install_what_is_missing || { echo "test.sh: what the tests need could not be installed: no test was run" >&2; exit 1; }
reports=$build_root/test-reports

no_32bit="this machine's kernel does not run 32-bit programs, so Wine runs no 32-bit Windows program here"

# tests_layer NAME BUILD RUNNER... [-- CTEST_ARGS...]: the build's ctest tests, run through RUNNER (a Wine
# session, or nothing), each program writing its cases' results where the layer's skipped cases are
# read from.
tests_layer() {
  local name=$1 build=$2 runner=() ctest_args=() dir output
  shift 2
  while [ "$#" -gt 0 ] && [ "$1" != -- ]; do runner+=("$1"); shift; done
  [ "$#" -gt 0 ] && { shift; ctest_args=("$@"); }
  if ! layer_passed "$build build"; then
    skip_layer "$name" "the $build build failed"
    return
  fi
  dir=$reports/${name// /-}
  rm -rf "$dir"
  mkdir -p "$dir"
  # A Windows program reaches the folder through Wine's Z: drive.
  output="xml:$dir/"
  [ "${#runner[@]}" = 0 ] || output="xml:Z:${dir//\//\\}\\"
  run_layer "$name" env GTEST_OUTPUT="$output" "${runner[@]}" \
    ctest --test-dir "$build_root/$build" --output-on-failure --no-tests=error "${ctest_args[@]}"
  note_skipped_cases "$name" "$dir"
}

run_layer "format check" bash scripts/check-format.sh
run_layer "wing check" bash -c 'bash scripts/check-wings.sh && bash tests/house/run.sh'

for preset in native sanitize win64 win32; do
  run_layer "$preset build" build "$preset"
done
# The second compiler builds the program; its warnings are errors as with GCC.
for preset in clang-win64 clang-win32; do
  run_layer "$preset build" build "$preset" --target slidewell
done

tests_layer "native unit tests" native
tests_layer "sanitized unit tests" sanitize
# Each fuzz target briefly, from its corpus: a parser that crashes on some input fails the run.
run_layer "fuzzing, 3 s a target" bash scripts/fuzz.sh 3

# What the release relies on: the programs built again elsewhere, the zip made twice, a signature checked.
if layer_passed "win64 build" && layer_passed "win32 build"; then
  run_layer "release checks" bash tests/release/run.sh "$build_root"
else
  skip_layer "release checks" "a Windows build failed"
fi

for build in win64 win32; do
  if [ "$build" = win32 ] && [ "$SLIDEWELL_WINE32" != 1 ]; then
    skip_layer "$build tests under Wine" "$no_32bit"
    skip_layer "$build two-monitor tests under Wine" "$no_32bit"
    continue
  fi
  tests_layer "$build tests under Wine" "$build" bash scripts/wine-session.sh -- -LE two-monitors
  tests_layer "$build two-monitor tests under Wine" "$build" env SLIDEWELL_DISPLAY=two-monitors \
    bash scripts/wine-session.sh -- -L two-monitors
done

# The setup program is a 32-bit program, so that it runs on both kinds of Windows.
for prefix in 64-bit 32-bit; do
  name="installer tests, $prefix prefix"
  if [ "$SLIDEWELL_WINE32" != 1 ]; then
    skip_layer "$name" "the setup program is a 32-bit program, and $no_32bit"
  elif layer_passed "win64 build" && layer_passed "win32 build"; then
    run_layer "$name" bash tests/installer/run.sh "$build_root" "$prefix"
  else
    skip_layer "$name" "a Windows build failed"
  fi
done

# The Windows Installer packages, each in a prefix of its own kind; msiexec is the prefix's own.
for prefix in 64-bit 32-bit; do
  name="MSI tests, $prefix prefix"
  if [ "$prefix" = 32-bit ] && [ "$SLIDEWELL_WINE32" != 1 ]; then
    skip_layer "$name" "a 32-bit prefix runs 32-bit programs only, and $no_32bit"
  elif layer_passed "win64 build" && { [ "$prefix" = 64-bit ] || layer_passed "win32 build"; }; then
    run_layer "$name" bash tests/installer/msi_run.sh "$build_root" "$prefix"
  else
    skip_layer "$name" "a Windows build failed"
  fi
done

echo
echo "All layers took $(( $(date +%s) - started )) s."
print_layers
