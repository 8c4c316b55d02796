#!/usr/bin/env bash
# Makes the setup program from the Release builds of slidewell.scr for both architectures, which must be
# built already (scripts/test.sh or scripts/release.sh build them):
#   scripts/make-installer.sh BUILD_ROOT
# writes BUILD_ROOT/installer/slidewell-setup-<version>.exe beside the README.txt and LICENSE.txt that it
# ships, and prints the setup program's path. The version is the one CMake's project() sets.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_root=$(cd "$1" && pwd)
out=$build_root/installer

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_root/win64/CMakeCache.txt")
[ -n "$version" ] || { echo "make-installer.sh: no project version in $build_root/win64" >&2; exit 1; }
for arch in win64 win32; do
  [ -f "$build_root/$arch/src/startup/slidewell.scr" ] ||
    { echo "make-installer.sh: $build_root/$arch/src/startup/slidewell.scr is not built" >&2; exit 1; }
done

mkdir -p "$out"
# The shipped README names the version in its title.
sed "1s/\$/ $version/" "$root/README.md" >"$out/README.txt"
cp "$root/LICENSE" "$out/LICENSE.txt"
setup=$out/slidewell-setup-$version.exe
makensis -V2 -WX -NOCD \
  "-DVERSION=$version" \
  "-DSCR64=$build_root/win64/src/startup/slidewell.scr" \
  "-DSCR32=$build_root/win32/src/startup/slidewell.scr" \
  "-DREADME=$out/README.txt" "-DLICENSE=$out/LICENSE.txt" \
  "-DICON=$root/src/res/slidewell.ico" \
  "-DOUTFILE=$setup" \
  "$root/installer/slidewell.nsi" >&2
echo "$setup"
