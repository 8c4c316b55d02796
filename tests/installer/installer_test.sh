#!/usr/bin/env bash
# One pass through the life of an installation, in the Wine session that scripts/wine-session.sh prepared:
# a silent install, the installed screen saver shown, a reinstall over it, a silent uninstall.
#   installer_test.sh LABEL SETUP EXPECTED_SCR VERSION [PREVIOUS_SCREEN_SAVER]
# EXPECTED_SCR is the build that must land in C:\windows\system32; PREVIOUS_SCREEN_SAVER, when given, is
# the screen saver chosen before the installation, which the uninstaller must put back (without it, none
# was chosen and none must be left chosen). Prints one PASS or FAIL line.
set -euo pipefail
label=$1 setup=$2 expected_scr=$3 version=$4 previous=${5:-}

fail() {
  echo "FAIL installer ($label): $*"
  exit 1
}

wine_() { "$SLIDEWELL_WINE" "$@" </dev/null; }

desktop='HKCU\Control Panel\Desktop'
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Slidewell'
pictures='HKCU\Software\SWPIC1\Main'
drive_c=$WINEPREFIX/drive_c
installed_scr=$drive_c/windows/system32/slidewell.scr
install_dir=$drive_c/Program\ Files/Slidewell
scr_path='C:\windows\system32\slidewell.scr'
# On 64-bit Windows the entry lives in the 64-bit registry view, which reg.exe (started by Wine's 32-bit
# loader) reads only when asked, and the screen saver is started by a 64-bit program, to which system32 is
# the real one.
view=()
show_loader=$SLIDEWELL_WINE
if [ -d "$drive_c/windows/syswow64" ]; then
  view=(/reg:64)
  show_loader=/usr/lib/wine/wine64
fi

# Prints the data of registry value NAME under KEY; fails when it is absent.
reg_value() {
  local out
  out=$(wine_ reg query "$1" /v "$2" "${view[@]}" 2>/dev/null) || return 1
  printf '%s\n' "$out" | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p" | head -n1
}

expect_value() {
  local actual
  actual=$(reg_value "$1" "$2") || fail "$1 has no value $2"
  [ "${actual,,}" = "${3,,}" ] || fail "$1 $2 is '$actual', not '$3'"
}

install_silently() {
  wine_ "$(winepath -w "$setup")" /S || fail "the silent install $1 exited with $?"
}

if [ -n "$previous" ]; then
  wine_ reg add "$desktop" /v SCRNSAVE.EXE /t REG_SZ /d "$previous" /f >/dev/null
fi

# 1. A silent install puts the right build into the real System32, chooses it and registers its entry.
install_silently "on a clean system"
cmp -s "$installed_scr" "$expected_scr" || fail "system32\\slidewell.scr is missing or not the expected build"
[ ! -e "$drive_c/windows/syswow64/slidewell.scr" ] || fail "slidewell.scr was written to syswow64 as well"
[ -f "$install_dir/uninstall.exe" ] && [ -f "$install_dir/README.txt" ] ||
  fail "no uninstaller or README in Program Files\\Slidewell"
expect_value "$desktop" SCRNSAVE.EXE "$scr_path"
expect_value "$desktop" ScreenSaveActive 1
expect_value "$entry" DisplayName Slidewell
expect_value "$entry" DisplayVersion "$version"
expect_value "$entry" InstallLocation 'C:\Program Files\Slidewell'
expect_value "$entry" UninstallString '"C:\Program Files\Slidewell\uninstall.exe"'
expect_value "$entry" QuietUninstallString '"C:\Program Files\Slidewell\uninstall.exe" /S'
expect_value "$entry" NoModify 0x1
expect_value "$entry" NoRepair 0x1
for name in Publisher DisplayIcon EstimatedSize; do
  [ -n "$(reg_value "$entry" "$name")" ] || fail "the uninstall entry has no $name"
done

# 2. The installed screen saver shows; while it runs, an installation cannot replace it and says so.
"$show_loader" "$scr_path" /s </dev/null &
show=$!
shown=0
for _ in $(seq 1 60); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Form1"'; then shown=1; break; fi
  kill -0 "$show" 2>/dev/null || break
  sleep 0.5
done
[ "$shown" = 1 ] || fail "the installed slidewell.scr /s showed no Form1 window"
if wine_ "$(winepath -w "$setup")" /S; then
  fail "an install over the running screen saver reported success"
fi
kill "$show"
wait "$show" 2>/dev/null || true

# 3. A reinstall keeps the user's picture list.
wine_ reg add "$pictures" /v 'Picture 0' /t REG_SZ /d 'C:\pictures\kept.bmp' /f >/dev/null
install_silently "over an installed one"
expect_value "$pictures" 'Picture 0' 'C:\pictures\kept.bmp'

# 4. A silent uninstall removes what the install added, puts the earlier screen saver back and keeps the
# picture list. It runs as NSIS runs its uninstaller, from a copy outside the install folder that is told
# where that folder is, so that the wait ends with the real uninstaller; a batch file passes that folder
# unquoted, as the uninstaller requires.
uninstaller=$(winepath -w "$SLIDEWELL_SESSION_DIR/uninstall-copy.exe")
cp "$install_dir/uninstall.exe" "$SLIDEWELL_SESSION_DIR/uninstall-copy.exe"
printf '@"%s" /S _?=C:\\Program Files\\Slidewell\r\n@exit /b %%errorlevel%%\r\n' "$uninstaller" \
  >"$SLIDEWELL_SESSION_DIR/uninstall.bat"
wine_ cmd /c "$(winepath -w "$SLIDEWELL_SESSION_DIR/uninstall.bat")" || fail "the silent uninstall exited with $?"
[ ! -e "$installed_scr" ] || fail "system32\\slidewell.scr is still there"
[ ! -e "$install_dir" ] || fail "Program Files\\Slidewell is still there"
! wine_ reg query "$entry" "${view[@]}" >/dev/null 2>&1 || fail "the uninstall entry is still there"
if [ -n "$previous" ]; then
  expect_value "$desktop" SCRNSAVE.EXE "$previous"
else
  ! reg_value "$desktop" SCRNSAVE.EXE >/dev/null || fail "SCRNSAVE.EXE is still set"
fi
expect_value "$pictures" 'Picture 0' 'C:\pictures\kept.bmp'

echo "PASS installer ($label): install, show, reinstall, uninstall"
