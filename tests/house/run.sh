#!/usr/bin/env bash
# Checks the check of the wings' order (scripts/check-wings.sh) on a copy of src/: it passes on src/ as it
# is, and an include of a later wing added to an earlier one fails it, named with its file and line.
#   tests/house/run.sh
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/slidewell-house.XXXXXX")
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL wing check: $*"
  exit 1
}

cp -r "$root/src" "$work/src"
bash "$root/scripts/check-wings.sh" "$work/src" >/dev/null || fail "it fails on src/ as it is"
lines=$(wc -l <"$work/src/win/gdi.h")
echo '#include "slideshow/slide_window.h"' >>"$work/src/win/gdi.h"
if out=$(bash "$root/scripts/check-wings.sh" "$work/src" 2>&1); then
  fail "it passes with src/win/gdi.h including a header of the slide show"
fi
grep -qF "win/gdi.h:$((lines + 1)): #include \"slideshow/slide_window.h\"" <<<"$out" ||
  fail "it does not name the include it failed on: $out"
echo "PASS wing check: src/ passes, a later wing's include fails and is named"
