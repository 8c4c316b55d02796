#!/usr/bin/env bash
# Makes the setup program from the builds in BUILD_ROOT (or from the two programs given, as
# scripts/make-installer.sh does) and runs the installer test in a private 64-bit Wine prefix, and in a
# private 32-bit one where this machine can run 32-bit programs:
#   tests/installer/run.sh BUILD_ROOT [SCR64 SCR32]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build_root=$1
scr64=${2:-$build_root/win64/src/startup/slidewell.scr}
scr32=${3:-$build_root/win32/src/startup/slidewell.scr}
source "$root/scripts/wine-env.sh"
source "$root/scripts/version.sh"

setup=$(bash "$root/scripts/make-installer.sh" "$build_root" "$scr64" "$scr32")
if [ "$SLIDEWELL_WINE32" != 1 ]; then
  # The setup program is a 32-bit program, so that it runs on both kinds of Windows.
  say_not_run_without_32bit "Installer tests"
  exit 0
fi
version=$(slidewell_version "$build_root")
test_script=$root/tests/installer/installer_test.sh

# The earlier screen saver differs between the two runs, so that both ways back are taken: put back on
# 64-bit Windows, none left chosen on 32-bit Windows.
bash "$root/scripts/wine-session.sh" bash "$test_script" 64-bit "$setup" \
  "$scr64" "$version" 'C:\windows\system32\scrnsave.scr'
WINEARCH=win32 bash "$root/scripts/wine-session.sh" bash "$test_script" 32-bit "$setup" "$scr32" "$version"
