# Sourced by the scripts that run Windows programs: picks Wine's loader and quiets Wine.
# Wine's 32-bit loader runs only where the kernel runs 32-bit programs; otherwise the 64-bit loader serves
# alone, and 32-bit Windows programs cannot run on this machine.
source "$(dirname "${BASH_SOURCE[0]}")/runs-32bit.sh"
if kernel_runs_32bit; then
  export SLIDEWELL_WINE=/usr/lib/wine/wine SLIDEWELL_WINE32=1
else
  export SLIDEWELL_WINE=/usr/lib/wine/wine64 SLIDEWELL_WINE32=0 WINELOADER=/usr/lib/wine/wine64
fi
export WINEDEBUG=-all
# Without these overrides Wine may ask to install Mono or Gecko, and the prompt hangs the prefix.
export WINEDLLOVERRIDES="mscoree,mshtml="

# Debian's Wine 8 does not load the fonts it ships from its data folder, so dialogs would fall back to a
# wide Unix font instead of Tahoma, the face Wine puts behind "MS Shell Dlg". Linked into the prefix's
# font folder, where Windows keeps its fonts, they are found.
link_wine_fonts() {
  local fonts=$WINEPREFIX/drive_c/windows/Fonts
  mkdir -p "$fonts"
  local font
  for font in /usr/share/wine/fonts/*.ttf; do
    [ -e "$font" ] && ln -sf "$font" "$fonts/"
  done
  return 0
}
