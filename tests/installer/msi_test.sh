#!/usr/bin/env bash
# The life of a Windows Installer package of Slidewell on one PC, driven by msiexec as an administrator's
# deployment drives it, in the Wine session that scripts/wine-session.sh prepared: a silent install and the
# installed screen saver shown and ended by a key; a reinstall that repairs; the next version installed
# while the show runs; an earlier version refused; a silent removal. No user's screen-saver choice or
# picture list is touched.
#   msi_test.sh LABEL PACKAGE SCR VERSION NEXT_PACKAGE NEXT_SCR NEXT_VERSION [REFUSED_PACKAGE]
# SCR and NEXT_SCR are the programs that must land in C:\windows\system32; REFUSED_PACKAGE, when given,
# is one that this Windows must refuse (the x64 package on 32-bit Windows). Prints one PASS or FAIL line.
set -euo pipefail
label=$1 package=$2 scr=$3 version=$4 next_package=$5 next_scr=$6 next_version=$7 refused=${8:-}
test_name=msi
source "$(dirname "${BASH_SOURCE[0]}")/checks.sh"
chosen_saver='C:\windows\system32\scrnsave.scr'
kept_picture='C:\pictures\kept.bmp'
logs=$SLIDEWELL_SESSION_DIR/msi-logs
mkdir -p "$logs"

# msiexec_ NAME ARGS...: runs msiexec unattended, as the README shows it, with the arguments given and a
# verbose log in $logs/NAME.log; prints its exit code whole (a Unix exit status keeps only its lowest 8
# bits: 3010 would read 194).
printf '@msiexec %%*\r\n@echo msiexec exit code %%errorlevel%%\r\n' >"$SLIDEWELL_SESSION_DIR/msiexec.bat"
msiexec_() {
  local name=$1 out
  shift
  out=$(wine_ cmd /c "$(winepath -w "$SLIDEWELL_SESSION_DIR/msiexec.bat")" "$@" /qn /norestart \
    /l*v "$(winepath -w "$logs/$name.log")")
  printf '%s\n' "$out" | tr -d '\r' | sed -n 's/^msiexec exit code //p'
}

expect_exit() {
  local code
  code=$(msiexec_ "$1" "${@:3}")
  [ "$code" = "$2" ] || fail "msiexec ${*:3} exited with '$code', not $2"
}

# Prints every uninstall entry named Slidewell, one line each: the key, then its DisplayVersion.
entries() {
  wine_ reg query "$uninstall_keys" /s "${view[@]}" 2>/dev/null | tr -d '\r' | awk '
    /^HKEY_/ { key = $0; name = ""; version = "" }
    $1 == "DisplayName" { name = substr($0, index($0, "REG_SZ") + 10) }
    $1 == "DisplayVersion" { version = substr($0, index($0, "REG_SZ") + 10) }
    /^$/ && name == "Slidewell" { print key, version; name = "" }
    END { if (name == "Slidewell") print key, version }'
}

expect_one_entry() {
  local found
  found=$(entries)
  [ "$(printf '%s' "$found" | grep -c .)" = 1 ] || fail "the uninstall entries named Slidewell are: '$found', not one"
  [ "${found##* }" = "$1" ] || fail "the uninstall entry is of version '${found##* }', not $1"
}

wine_ reg add "$desktop" /v SCRNSAVE.EXE /t REG_SZ /d "$chosen_saver" /f >/dev/null
wine_ reg add "$pictures" /v 'Picture 0' /t REG_SZ /d "$kept_picture" /f >/dev/null

# 1. A package for another processor is refused with the code that says so, and installs nothing.
if [ -n "$refused" ]; then
  expect_exit refused 1633 /i "$(winepath -w "$refused")"
  [ ! -e "$installed_scr" ] && [ ! -e "$install_dir" ] || fail "the refused package installed files"
  [ -z "$(entries)" ] || fail "the refused package left an uninstall entry"
fi

# 2. A silent install puts the program into the system folder and the texts into Program Files, with one
# entry in Apps & Features; the installed screen saver shows and ends on a key.
expect_exit install 0 /i "$(winepath -w "$package")"
cmp -s "$installed_scr" "$scr" || fail "system32\\slidewell.scr is missing or not the expected build"
[ ! -e "$drive_c/windows/syswow64/slidewell.scr" ] || fail "slidewell.scr was written to syswow64"
[ -f "$install_dir/README.txt" ] && [ -f "$install_dir/LICENSE.txt" ] ||
  fail "no README.txt and LICENSE.txt in Program Files\\Slidewell"
expect_one_entry "$version"
entry=$(entries)
expect_value "${entry% *}" Publisher 'Slidewell developers'
expect_value "$desktop" SCRNSAVE.EXE "$chosen_saver"
start_show
end_show_by_key

# 3. The same package installed again repairs what was lost, as a reinstall of everything. (Wine's msiexec
# puts missing files back even when not asked to; Windows's does so only when told to reinstall, which
# the package tells it itself, so the log must show that.)
rm "$installed_scr" "$install_dir/LICENSE.txt"
expect_exit repair 0 /i "$(winepath -w "$package")"
cmp -s "$installed_scr" "$scr" && [ -f "$install_dir/LICENSE.txt" ] || fail "the reinstall did not repair the installation"
tr -d '\r' <"$logs/repair.log" | grep -q '^Property(S): REINSTALL = ALL$' &&
  tr -d '\r' <"$logs/repair.log" | grep -q '^Property(S): REINSTALLMODE = amus$' ||
  fail "the reinstall was not a reinstall of every file"

# 4. The next version, installed while the show runs, asks for the restart that replaces the program in
# use; after it the next version's program is in place, under one entry.
start_show
expect_exit upgrade 3010 /i "$(winepath -w "$next_package")"
end_show_by_key
wine_ wineboot -r
cmp -s "$installed_scr" "$next_scr" || fail "after the restart, system32\\slidewell.scr is not the next version's"
expect_one_entry "$next_version"

# 5. An earlier version is refused, and its log says why: a later version was found, and the launch
# condition against it failed. (Wine's log leaves out the condition's message; Windows's has it too.)
expect_exit downgrade 1603 /i "$(winepath -w "$package")"
tr -d '\r' <"$logs/downgrade.log" | grep -q '^Property(S): WIX_DOWNGRADE_DETECTED = {' &&
  tr -d '\r' <"$logs/downgrade.log" | grep -Eq 'LaunchConditions\. Return value [03]\.$' ||
  fail "the log of the refused downgrade does not say why"
cmp -s "$installed_scr" "$next_scr" || fail "the refused downgrade changed system32\\slidewell.scr"
expect_one_entry "$next_version"

# 6. A silent removal takes away everything the package installed, and nothing of the user's.
expect_exit removal 0 /x "$(winepath -w "$next_package")"
[ ! -e "$installed_scr" ] || fail "system32\\slidewell.scr is still there"
[ ! -e "$install_dir" ] || fail "Program Files\\Slidewell is still there"
[ -z "$(entries)" ] || fail "the uninstall entry is still there"
expect_value "$desktop" SCRNSAVE.EXE "$chosen_saver"
expect_value "$pictures" 'Picture 0' "$kept_picture"

echo "PASS msi ($label): ${refused:+other processor refused, }install, show, repair, upgrade in use, downgrade refused, removal"
