#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": clang 16 with AddressSanitizer and UBSan) and runs each
# for the given time, starting from its committed corpus in fuzz/corpus/<target>/. What a run finds is
# kept in a scratch copy, so the committed corpus stays small; an input that fails a target is saved
# in build/fuzz/findings/ and fails the script. Installs what is missing first.
#   scripts/fuzz.sh [seconds per target, default 60]
#   SLIDEWELL_BUILD_ROOT=DIR   build somewhere other than ./build
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
seconds=${1:-60}
source scripts/lib/build-env.sh
install_what_is_missing
build fuzz
build=$build_root/fuzz

scratch=$(mktemp -d "${TMPDIR:-/tmp}/slidewell-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$build/findings"
for corpus in fuzz/corpus/*/; do
  target=$(basename "$corpus")
  cp -r "$corpus" "$scratch/$target"
  echo "== $target: $seconds s"
  log="$scratch/$target.log"
  if ! "$build/fuzz/$target" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$build/findings/$target-" "$scratch/$target" >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "$target failed: the input is in $build/findings/" >&2
    exit 1
  fi
  grep -E '^stat::(number_of_executed_units|new_units_added)' "$log"
done
