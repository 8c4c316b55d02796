# Sourced by the commands that run Windows programs. Picks Wine's loader, quiets Wine, and offers the one
# way to make a Wine prefix ready and to end its processes.
# Wine's 32-bit loader runs only where the kernel runs 32-bit programs (runs-32bit.sh); otherwise the
# 64-bit loader serves alone, and 32-bit Windows programs cannot run on this machine.
source "$(dirname "${BASH_SOURCE[0]}")/runs-32bit.sh"
if [ "$SLIDEWELL_WINE32" = 1 ]; then
  export SLIDEWELL_WINE=/usr/lib/wine/wine
else
  export SLIDEWELL_WINE=/usr/lib/wine/wine64 WINELOADER=/usr/lib/wine/wine64
fi
export WINEDEBUG=-all
# Without these overrides Wine may ask to install Mono or Gecko, and the prompt hangs the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="

# prepare_wine_prefix LOG [NOTE]: readies WINEPREFIX for Windows programs. A prefix not made yet is made,
# with Wine's output in LOG and NOTE said first, and the wait for its start-up ends before anything else
# runs in it.
prepare_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    [ -z "${2:-}" ] || echo "$2"
    "$SLIDEWELL_WINE" wineboot -i >"$1" 2>&1
    wineserver -w
  fi
  # Debian's Wine 8 does not load the fonts it ships from its data folder, so dialogs would fall back to a
  # wide Unix font instead of Tahoma, the face Wine puts behind "MS Shell Dlg". Linked into the prefix's
  # font folder, where Windows keeps its fonts, they are found.
  local fonts=$WINEPREFIX/drive_c/windows/Fonts font
  mkdir -p "$fonts"
  for font in /usr/share/wine/fonts/*.ttf; do
    [ -e "$font" ] && ln -sf "$font" "$fonts/"
  done
  return 0
}

# Ends every process of WINEPREFIX, if it was made, and waits until they are gone.
end_wine_prefix() {
  if [ -d "$WINEPREFIX" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
}
