#!/usr/bin/env bash
# Runs a command inside a private Wine session: a fresh WINEPREFIX and, unless SLIDEWELL_USE_DISPLAY=1 and
# a display is set, a private virtual X display. Both are prepared serially before the command and removed
# afterwards, with every process of the session ended.
#   scripts/wine-session.sh COMMAND [ARGS...]
set -euo pipefail

session=$(mktemp -d "${TMPDIR:-/tmp}/slidewell-wine.XXXXXX")
xvfb_pid=

cleanup() {
  if [ -d "$session/prefix" ]; then
    WINEPREFIX="$session/prefix" wineserver -k 2>/dev/null || true
    WINEPREFIX="$session/prefix" wineserver -w 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$session"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ "${SLIDEWELL_USE_DISPLAY:-0}" != 1 ] || [ -z "${DISPLAY:-}" ]; then
  # Xvfb picks a free display number itself and reports it on the given descriptor.
  Xvfb -displayfd 3 -screen 0 "${SLIDEWELL_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$session/display" \
    >"$session/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do
    [ -s "$session/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$session/xvfb.log" >&2; exit 1; }
    sleep 0.1
  done
  [ -s "$session/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$session/display")"
fi

# Wine's 32-bit loader runs only where the kernel runs 32-bit programs; otherwise the 64-bit loader serves
# alone, and 32-bit Windows programs cannot run in this session.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  export SLIDEWELL_WINE=/usr/lib/wine/wine SLIDEWELL_WINE32=1
else
  export SLIDEWELL_WINE=/usr/lib/wine/wine64 SLIDEWELL_WINE32=0 WINELOADER=/usr/lib/wine/wine64
fi
export WINEPREFIX="$session/prefix"
export WINEDEBUG=-all
# Without these overrides Wine may ask to install Mono or Gecko, and the prompt hangs the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="
export SLIDEWELL_SESSION_DIR="$session"

"$SLIDEWELL_WINE" wineboot -i >"$session/wineboot.log" 2>&1
wineserver -w
# A persistent server spares every test program the start of a new one; cleanup ends it. A first program
# brings up Wine's background services with harmless standard handles: started by a test program, they
# would keep its output pipe open and ctest would wait for it forever.
wineserver -p
"$SLIDEWELL_WINE" cmd /c exit </dev/null >/dev/null 2>&1

"$@"
