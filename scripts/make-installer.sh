#!/usr/bin/env bash
# Makes the setup program from the Release builds of slidewell.scr for both architectures, which must be
# built already (scripts/test.sh or scripts/release.sh build them), or from the two programs given
# (scripts/release.sh gives their signed copies), with another version into another folder when both
# are given (the installer test makes an earlier version so):
#   scripts/make-installer.sh BUILD_ROOT [SCR64 SCR32 [VERSION FOLDER]]
# writes BUILD_ROOT/installer/slidewell-setup-<version>.exe beside the README.txt and LICENSE.txt that it
# ships, and prints the setup program's path. The version is the one CMake's project() sets. The same
# programs and texts give the same setup program, byte for byte.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_root=$(cd "$1" && pwd)
source "$root/scripts/lib/version.sh"
version=${4:-$(slidewell_version "$build_root")}
out=$(realpath -m "${5:-$build_root/installer}")
setup=$(setup_program "$out" "$version")
scr64=${2:-$build_root/win64/src/startup/slidewell.scr}
scr32=${3:-$build_root/win32/src/startup/slidewell.scr}
for scr in "$scr64" "$scr32"; do
  [ -f "$scr" ] || { echo "make-installer.sh: $scr is not built" >&2; exit 1; }
done

mkdir -p "$out"
write_shipped_texts "$version" "$out"
makensis -V2 -WX -NOCD \
  "-DVERSION=$version" \
  "-DSCR64=$scr64" "-DSCR32=$scr32" \
  "-DREADME=$out/README.txt" "-DLICENSE=$out/LICENSE.txt" \
  "-DICON=$root/src/res/slidewell.ico" \
  "-DOUTFILE=$setup" \
  "$root/installer/slidewell.nsi" >&2
echo "$setup"
