# Sourced by the installer tests, in the Wine session that scripts/wine-session.sh prepared: the places an
# installation touches, and what the tests check and do there as an administrator or a user would.
# Set test_name and label first: a failure prints "FAIL test_name (label): what went wrong" and exits 1.
#   fail MESSAGE                  that line, and the end of the test
#   wine_ PROGRAM [ARGS...]       runs a Windows program with no input
#   reg_value KEY NAME            prints the data of a registry value; fails when it is absent
#   expect_value KEY NAME DATA    fails unless the value holds DATA (letter case aside)
#   expect_no_value KEY NAME      fails if the value is there
#   start_show                    starts the installed slidewell.scr /s and waits for its window
#   end_show_by_key               types a key into the show and waits for the program to end with 0
#   drive_window ARGS...          tests/installer/drive_window.c, built for the prefix on first use
desktop='HKCU\Control Panel\Desktop'
pictures='HKCU\Software\SWPIC1\Main'
uninstall_keys='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
drive_c=$WINEPREFIX/drive_c
installed_scr=$drive_c/windows/system32/slidewell.scr
install_dir=$drive_c/Program\ Files/Slidewell
scr_path='C:\windows\system32\slidewell.scr'
# On 64-bit Windows the uninstall entries live in the 64-bit registry view, which reg.exe (started by
# Wine's 32-bit loader) reads only when asked, and the screen saver is started by a 64-bit program, to
# which system32 is the real one.
view=()
show_loader=$SLIDEWELL_WINE
window_driver_kind=i686
if [ -d "$drive_c/windows/syswow64" ]; then
  view=(/reg:64)
  show_loader=/usr/lib/wine/wine64
  window_driver_kind=x86_64
fi

fail() {
  echo "FAIL $test_name ($label): $*"
  exit 1
}

wine_() { "$SLIDEWELL_WINE" "$@" </dev/null; }

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

expect_no_value() {
  ! reg_value "$1" "$2" >/dev/null || fail "$1 $2 is still there"
}

drive_window() {
  local program=$SLIDEWELL_SESSION_DIR/drive_window.exe
  if [ ! -f "$program" ]; then
    "$window_driver_kind-w64-mingw32-gcc-posix" -std=c17 -O2 -Wall -Wextra -Werror -municode -o "$program" \
      "$(dirname "${BASH_SOURCE[0]}")/drive_window.c" || fail "the window driver did not build"
  fi
  wine_ "$program" "$@"
}

start_show() {
  "$show_loader" "$scr_path" /s </dev/null &
  show=$!
  local _
  for _ in $(seq 1 60); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Form1"' && return 0
    kill -0 "$show" 2>/dev/null || break
    sleep 0.5
  done
  fail "the installed slidewell.scr /s showed no Form1 window"
}

end_show_by_key() {
  local _ status=0
  drive_window key Form1 || fail "no show to type a key into"
  for _ in $(seq 1 60); do
    if ! kill -0 "$show" 2>/dev/null; then
      wait "$show" || status=$?
      [ "$status" = 0 ] || fail "the show ended on a key with exit code $status"
      return 0
    fi
    sleep 0.5
  done
  fail "the show did not end on a key within 30 s"
}
