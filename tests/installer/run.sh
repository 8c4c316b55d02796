#!/usr/bin/env bash
# Makes the setup program from the builds in BUILD_ROOT (or from the two programs given, as
# scripts/make-installer.sh does) and runs the installer test in a private Wine prefix of the kind given,
# 64-bit or 32-bit. The setup program is a 32-bit program, so the test needs a machine that runs 32-bit
# programs; elsewhere it says so and exits with 77.
#   tests/installer/run.sh BUILD_ROOT 64-bit|32-bit [SCR64 SCR32]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build_root=$1 prefix=$2
scr64=${3:-$build_root/win64/src/startup/slidewell.scr}
scr32=${4:-$build_root/win32/src/startup/slidewell.scr}
source "$root/scripts/lib/wine-env.sh"
source "$root/scripts/lib/version.sh"

if [ "$SLIDEWELL_WINE32" != 1 ]; then
  say_not_run_without_32bit "The installer test"
  exit 77
fi
setup=$(bash "$root/scripts/make-installer.sh" "$build_root" "$scr64" "$scr32")
version=$(slidewell_version "$build_root")
test_script=$root/tests/installer/installer_test.sh

# The earlier screen saver differs between the two kinds, so that both ways back are taken: put back on
# 64-bit Windows, none left chosen on 32-bit Windows.
case $prefix in
  64-bit)
    bash "$root/scripts/wine-session.sh" bash "$test_script" 64-bit "$setup" \
      "$scr64" "$version" 'C:\windows\system32\scrnsave.scr'
    ;;
  32-bit) WINEARCH=win32 bash "$root/scripts/wine-session.sh" bash "$test_script" 32-bit "$setup" "$scr32" "$version" ;;
  *)
    echo "run.sh: the prefix is 64-bit or 32-bit, not $prefix" >&2
    exit 2
    ;;
esac
