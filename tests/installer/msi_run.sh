#!/usr/bin/env bash
# Makes the Windows Installer packages from the builds in BUILD_ROOT (or from the two programs given, as
# scripts/release.sh does), and a next version of each from the same program, and runs the package test
# in a private Wine prefix of the kind given: the x64 package on 64-bit Windows; the x86 one on 32-bit
# Windows, which must also refuse the x64 one. The 32-bit prefix needs a machine that runs 32-bit
# programs; elsewhere it says so and exits with 77.
#   tests/installer/msi_run.sh BUILD_ROOT 64-bit|32-bit [SCR64 SCR32]
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build_root=$(cd "$1" && pwd)
prefix=$2
scr64=${3:-$build_root/win64/src/startup/slidewell.scr}
scr32=${4:-$build_root/win32/src/startup/slidewell.scr}
source "$root/scripts/lib/wine-env.sh"
source "$root/scripts/lib/version.sh"

case $prefix in
  64-bit) arch=x64 scr=$scr64 wine_arch=() ;;
  32-bit) arch=x86 scr=$scr32 wine_arch=(WINEARCH=win32) ;;
  *) echo "msi_run.sh: the prefix is 64-bit or 32-bit, not $prefix" >&2; exit 2 ;;
esac
if [ "$prefix" = 32-bit ] && [ "$SLIDEWELL_WINE32" != 1 ]; then
  say_not_run_without_32bit "The package test in a 32-bit prefix"
  exit 77
fi

version=$(slidewell_version "$build_root")
next_version=${version%.*}.$((${version##*.} + 1))
work=$build_root/msi-test/$prefix
rm -rf "$work"
mkdir -p "$work/next"
# The next version carries the same program with a few bytes appended (Windows ignores bytes past a
# program's last section), so that the test can tell which version's file is installed.
{ cat "$scr"; printf 'next version'; } >"$work/next/slidewell.scr"
make() { bash "$root/scripts/make-msi.sh" "$@" >/dev/null; }
package=$(msi_package "$work" "$version" "$arch")
next_package=$(msi_package "$work/next" "$next_version" "$arch")
make "$arch" "$scr" "$version" "$package"
make "$arch" "$work/next/slidewell.scr" "$next_version" "$next_package"
refused=()
if [ "$arch" = x86 ]; then
  refused=("$(msi_package "$work" "$version" x64)")
  make x64 "$scr64" "$version" "${refused[0]}"
fi

env "${wine_arch[@]}" bash "$root/scripts/wine-session.sh" bash "$root/tests/installer/msi_test.sh" "$prefix" \
  "$package" "$scr" "$version" "$next_package" "$work/next/slidewell.scr" "$next_version" "${refused[@]}"
