#!/usr/bin/env bash
# Runs a command inside a private Wine session: a fresh WINEPREFIX and, unless SLIDEWELL_USE_DISPLAY=1 and
# a display is set, a private virtual X display (with two monitors side by side when
# SLIDEWELL_DISPLAY=two-monitors). Both are prepared serially before the command and removed afterwards,
# with every process of the session ended. Paths with a folder named stall-forever, stall-<N>ms or
# stall-within stall for slidewell.scr alone, and reads under slow-<N>kBps come at that rate
# (scripts/lib/stall-fixture.sh); each delay is noted in SLIDEWELL_STALL_LOG.
#   scripts/wine-session.sh COMMAND [ARGS...]
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/lib/wine-env.sh"
source "$here/lib/virtual-display.sh"
source "$here/lib/two-monitor-display.sh"
source "$here/lib/stall-fixture.sh"

session=$(mktemp -d "${TMPDIR:-/tmp}/slidewell-wine.XXXXXX")
export WINEPREFIX="$session/prefix"
export SLIDEWELL_SESSION_DIR="$session"

cleanup() {
  end_wine_prefix
  stop_virtual_display
  rm -rf "$session"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ "${SLIDEWELL_DISPLAY:-}" = two-monitors ]; then
  start_two_monitor_display "$session"
elif [ "${SLIDEWELL_USE_DISPLAY:-0}" != 1 ] || [ -z "${DISPLAY:-}" ]; then
  start_virtual_display "$session"
fi

# Only slidewell.scr is delayed, and only on marked paths: the preparation below runs as without it.
start_stall_fixture "$session/stall"

prepare_wine_prefix "$session/wineboot.log"
# A persistent server spares every test program the start of a new one; cleanup ends it. A first program
# brings up Wine's background services with harmless standard handles: started by a test program, they
# would keep its output pipe open and ctest would wait for it forever.
wineserver -p
"$SLIDEWELL_WINE" cmd /c exit </dev/null >/dev/null 2>&1
check_stall_fixture "$session/stall"

"$@"
