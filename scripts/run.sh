#!/usr/bin/env bash
# Installs what is missing, builds slidewell.scr and starts it under Wine with the given switch
# ("/s" when none is given):
#   scripts/run.sh [SWITCH...]      e.g. scripts/run.sh /c
# It uses a private Wine prefix in .run/ (kept, so that what the dialog saves is shown by the next show),
# seeded on first use with a few sample pictures. On the current X display it runs until the program ends;
# with no display it runs on a private virtual one, saves screenshots into .run/screenshots and ends the
# program after a few seconds. No process of its own is left behind.
#   SLIDEWELL_BUILD_ROOT=DIR        build somewhere other than ./build
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

source scripts/lib/build-env.sh
install_what_is_missing
build win64 --target slidewell

source scripts/lib/wine-env.sh
source scripts/lib/virtual-display.sh

state=$root/.run
mkdir -p "$state"
export WINEPREFIX=$state/prefix

cleanup() {
  end_wine_prefix
  stop_virtual_display
}
trap cleanup EXIT
trap 'exit 130' INT TERM

virtual=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  start_virtual_display "$state"
  virtual=1
fi

prepare_wine_prefix "$state/wineboot.log" "Preparing the Wine prefix in $WINEPREFIX ..."

# Sample pictures, listed in the configuration only when no list was saved yet.
samples_unix=$WINEPREFIX/drive_c/users/Public/Pictures/Slidewell
samples_windows='C:\users\Public\Pictures\Slidewell'
if [ ! -f "$samples_unix/sunset.bmp" ]; then
  bash scripts/make-samples.sh "$samples_unix"
fi
if ! "$SLIDEWELL_WINE" reg query 'HKCU\Software\SWPIC1\Main' /v 'Picture 0' >/dev/null 2>&1; then
  i=0
  for name in sunset mountains shapes plasma; do
    "$SLIDEWELL_WINE" reg add 'HKCU\Software\SWPIC1\Main' /v "Picture $i" /t REG_SZ \
      /d "$samples_windows\\$name.bmp" /f >/dev/null
    i=$((i + 1))
  done
fi

[ "$#" -eq 0 ] && set -- /s
scr=$(realpath "$build_root/win64/src/startup/slidewell.scr")
scr=$(winepath -w "$scr" 2>/dev/null || echo "Z:${scr//\//\\}")

if [ "$virtual" = 0 ]; then
  echo "Starting slidewell.scr $* on $DISPLAY (a key or mouse movement ends the show)."
  "$SLIDEWELL_WINE" "$scr" "$@" || true
  exit 0
fi

shots=$state/screenshots
rm -rf "$shots"
mkdir -p "$shots"
echo "No X display: running slidewell.scr $* on a private virtual display ($DISPLAY)."
"$SLIDEWELL_WINE" "$scr" "$@" &
program=$!
for n in 1 2 3; do
  sleep 3
  import -window root "$shots/screen-$n.png" 2>/dev/null || true
  kill -0 "$program" 2>/dev/null || break
done
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
echo "Screenshots: $(ls "$shots"/*.png 2>/dev/null | tr '\n' ' ')"
