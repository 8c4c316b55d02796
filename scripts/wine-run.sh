#!/usr/bin/env bash
# Runs one Windows program under Wine in the session that scripts/wine-session.sh prepared.
# CMake uses it as the emulator of the Windows builds, so ctest can run their tests.
#   wine-run.sh win64|win32 PROGRAM [ARGS...]
# Exits 77 (ctest's "skipped") for a 32-bit program where this machine's kernel cannot run Wine's
# 32-bit loader.
set -euo pipefail
target=$1
shift
if [ -z "${WINEPREFIX:-}" ] || [ ! -d "$WINEPREFIX" ] || [ -z "${SLIDEWELL_WINE:-}" ]; then
  echo "wine-run.sh: no Wine session; run the tests through scripts/wine-session.sh" >&2
  exit 2
fi
if [ "$target" = win32 ] && [ "$SLIDEWELL_WINE32" != 1 ]; then
  echo "skipped: this machine's kernel does not run 32-bit programs, so Wine cannot run 32-bit Windows ones"
  exit 77
fi
exec "$SLIDEWELL_WINE" "$@"
