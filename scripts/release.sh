#!/usr/bin/env bash
# Builds and tests everything (scripts/test.sh), then writes the release into dist/:
#   slidewell-setup-<version>.exe       the setup program that the tests ran
#   slidewell-<version>-windows.zip     x64/slidewell.scr, x86/slidewell.scr, README.txt, LICENSE.txt
#   SHA256SUMS                          the checksums of both
#   scripts/release.sh         SLIDEWELL_BUILD_ROOT=DIR to build somewhere other than ./build
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build_root=${SLIDEWELL_BUILD_ROOT:-$root/build}

# Only the setup program that this run makes and tests may be released.
rm -rf "$build_root/installer"
bash scripts/test.sh

setup=$(echo "$build_root"/installer/slidewell-setup-*.exe)
[ -f "$setup" ] || { echo "release.sh: no setup program was made" >&2; exit 1; }
version=${setup##*/slidewell-setup-}
version=${version%.exe}

dist=$root/dist
staging=$build_root/release
rm -rf "$dist" "$staging"
mkdir -p "$dist" "$staging/x64" "$staging/x86"
cp "$setup" "$dist/"
cp "$build_root/win64/src/startup/slidewell.scr" "$staging/x64/"
cp "$build_root/win32/src/startup/slidewell.scr" "$staging/x86/"
cp "$build_root/installer/README.txt" "$build_root/installer/LICENSE.txt" "$staging/"
zip=slidewell-$version-windows.zip
(cd "$staging" && cmake -E tar cf "$dist/$zip" --format=zip x64 x86 README.txt LICENSE.txt)
(cd "$dist" && sha256sum "${setup##*/}" "$zip" >SHA256SUMS)

echo "Release $version written to $dist:"
ls -l "$dist"
