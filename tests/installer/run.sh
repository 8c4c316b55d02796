#!/usr/bin/env bash
# Makes the setup program from the builds in BUILD_ROOT (or from the two programs given, as
# scripts/make-installer.sh does), and the setup program of an earlier version to upgrade from, and runs
# the installer test in a private Wine prefix of the kind given, 64-bit or 32-bit. The setup program is a
# 32-bit program, so the test needs a machine that runs 32-bit programs; elsewhere it says so and exits
# with 77.
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

# The earlier version is no earlier release (there is none to build from yet) but this one under a lower
# version number, made of the same programs with a few bytes appended (Windows ignores bytes past a
# program's last section), so that the test can tell whose program is installed.
IFS=. read -r major minor patch <<<"$version"
if [ "$patch" -gt 0 ]; then earlier_version=$major.$minor.$((patch - 1))
elif [ "$minor" -gt 0 ]; then earlier_version=$major.$((minor - 1)).99
else earlier_version=$((major - 1)).99.99
fi
earlier=$(cd "$build_root" && pwd)/installer-test/earlier
rm -rf "$earlier"
mkdir -p "$earlier/x64" "$earlier/x86"
for kind in x64:$scr64 x86:$scr32; do
  { cat "${kind#*:}"; printf 'earlier version'; } >"$earlier/${kind%%:*}/slidewell.scr"
done
earlier_setup=$(bash "$root/scripts/make-installer.sh" "$build_root" "$earlier/x64/slidewell.scr" \
  "$earlier/x86/slidewell.scr" "$earlier_version" "$earlier")

# The earlier screen saver differs between the two kinds, so that both ways back are taken: put back on
# 64-bit Windows, none left chosen on 32-bit Windows.
case $prefix in
  64-bit)
    bash "$root/scripts/wine-session.sh" bash "$test_script" 64-bit "$setup" "$scr64" "$version" \
      "$earlier_setup" "$earlier/x64/slidewell.scr" "$earlier_version" 'C:\windows\system32\scrnsave.scr'
    ;;
  32-bit)
    WINEARCH=win32 bash "$root/scripts/wine-session.sh" bash "$test_script" 32-bit "$setup" "$scr32" "$version" \
      "$earlier_setup" "$earlier/x86/slidewell.scr" "$earlier_version"
    ;;
  *)
    echo "run.sh: the prefix is 64-bit or 32-bit, not $prefix" >&2
    exit 2
    ;;
esac
