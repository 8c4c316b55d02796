#!/usr/bin/env bash
# The life of an installation, in the Wine session that scripts/wine-session.sh prepared: an earlier
# version installed silently without choosing the screen saver, this one silently over it, the installed
# screen saver shown, an install over the running one refused, a reinstall over it, a silent uninstall,
# and an uninstall through its pages that removes the picture list and settings.
#   installer_test.sh LABEL SETUP EXPECTED_SCR VERSION EARLIER_SETUP EARLIER_SCR EARLIER_VERSION [CHOSEN_SAVER]
# EXPECTED_SCR and EARLIER_SCR are the builds that each setup program must put into C:\windows\system32;
# CHOSEN_SAVER, when given, is the screen saver chosen before the installation, which the uninstaller must
# put back (without it, none was chosen and none must be left chosen). Prints one PASS or FAIL line.
set -euo pipefail
label=$1 setup=$2 expected_scr=$3 version=$4 earlier_setup=$5 earlier_scr=$6 earlier_version=$7 chosen=${8:-}
test_name=installer
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
entry="$uninstall_keys\\Slidewell"

# install_silently SETUP WHAT [SWITCHES...]
install_silently() {
  local program=$1 what=$2 status=0
  shift 2
  wine_ "$(winepath -w "$program")" /S "$@" || status=$?
  [ "$status" = 0 ] || fail "the silent install $what exited with $status"
}

# The screen saver chosen before, or none when none was.
expect_chosen_saver_kept() {
  if [ -n "$chosen" ]; then expect_value "$desktop" SCRNSAVE.EXE "$chosen"; else expect_no_value "$desktop" SCRNSAVE.EXE; fi
}

# Runs the uninstaller as NSIS runs it, from a copy outside the install folder that is told where that
# folder is, so that the wait ends with the real uninstaller; a batch file passes that folder unquoted,
# as the uninstaller requires.
uninstall() {
  local uninstaller
  uninstaller=$(winepath -w "$SLIDEWELL_SESSION_DIR/uninstall-copy.exe")
  cp "$install_dir/uninstall.exe" "$SLIDEWELL_SESSION_DIR/uninstall-copy.exe"
  printf '@"%s" %s _?=C:\\Program Files\\Slidewell\r\n@exit /b %%errorlevel%%\r\n' "$uninstaller" "$*" \
    >"$SLIDEWELL_SESSION_DIR/uninstall.bat"
  wine_ cmd /c "$(winepath -w "$SLIDEWELL_SESSION_DIR/uninstall.bat")"
}

expect_removed() {
  [ ! -e "$installed_scr" ] || fail "system32\\slidewell.scr is still there"
  [ ! -e "$install_dir" ] || fail "Program Files\\Slidewell is still there"
  ! wine_ reg query "$entry" "${view[@]}" >/dev/null 2>&1 || fail "the uninstall entry is still there"
}

if [ -n "$chosen" ]; then
  wine_ reg add "$desktop" /v SCRNSAVE.EXE /t REG_SZ /d "$chosen" /f >/dev/null
fi

# 1. The earlier version, installed with /KEEPSCREENSAVER, leaves the chosen screen saver as it was.
install_silently "$earlier_setup" "of the earlier version" /KEEPSCREENSAVER
cmp -s "$installed_scr" "$earlier_scr" || fail "system32\\slidewell.scr is not the earlier version's"
expect_value "$entry" DisplayVersion "$earlier_version"
expect_chosen_saver_kept

# 2. This version, installed silently over it, puts its own build into the real System32, chooses it and
# registers its entry.
install_silently "$setup" "over the earlier version"
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

# 3. The installed screen saver shows; while it runs, an installation cannot replace it and exits with 2.
start_show
status=0
wine_ "$(winepath -w "$setup")" /S || status=$?
[ "$status" = 2 ] || fail "an install over the running screen saver exited with $status, not 2"
end_show_by_key

# 4. A reinstall keeps the user's picture list.
wine_ reg add "$pictures" /v 'Picture 0' /t REG_SZ /d 'C:\pictures\kept.bmp' /f >/dev/null
install_silently "$setup" "over an installed one"
expect_value "$pictures" 'Picture 0' 'C:\pictures\kept.bmp'

# 5. A silent uninstall removes what the install added, puts the earlier screen saver back and keeps the
# picture list.
uninstall /S || fail "the silent uninstall exited with $?"
expect_removed
expect_chosen_saver_kept
expect_value "$pictures" 'Picture 0' 'C:\pictures\kept.bmp'

# 6. Through its pages, with "Also remove my picture list and settings" ticked, the uninstaller removes
# them too.
install_silently "$setup" "after an uninstall"
drive_window pages 'Slidewell ' 'Also remove my picture list and settings' &
driver=$!
uninstall || fail "the uninstall through its pages exited with $?"
wait "$driver" || fail "the uninstaller's pages could not be gone through"
expect_removed
! wine_ reg query 'HKCU\Software\SWPIC1' >/dev/null 2>&1 || fail "the picture list and settings are still there"

echo "PASS installer ($label): earlier version kept the screen saver, upgrade, show, refused while in use, reinstall, uninstall, uninstall removing settings"
