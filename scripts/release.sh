#!/usr/bin/env bash
# Builds and tests everything (scripts/test.sh), then writes the release into dist/:
#   slidewell-setup-<version>.exe       the setup program
#   slidewell-<version>-windows.zip     x64/slidewell.scr, x86/slidewell.scr, README.txt, LICENSE.txt
#   SHA256SUMS                          the checksums of both
# The same commit gives the same bytes, wherever and whenever it is built: every time written is the
# commit's (SOURCE_DATE_EPOCH).
#   scripts/release.sh
#   SLIDEWELL_BUILD_ROOT=DIR          build somewhere other than ./build
#   SLIDEWELL_SIGN_PFX=FILE           sign both programs and the setup program with this PFX file's
#   SLIDEWELL_SIGN_PASSWORD=PASSWORD  certificate (scripts/sign.sh); without it the release is unsigned
#   SLIDEWELL_RELEASE_SKIP_TESTS=1    build without running any test, to compare the bytes of a release
#                                     with another; such a release is for comparing, not for publishing
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
source scripts/lib/build-env.sh
install_what_is_missing
source scripts/lib/source-date.sh
source scripts/lib/version.sh
skip_tests=${SLIDEWELL_RELEASE_SKIP_TESTS:-0}

# Only a setup program that this run makes may be released.
rm -rf "$build_root/installer"
if [ "$skip_tests" = 1 ]; then
  echo "release.sh: SLIDEWELL_RELEASE_SKIP_TESTS=1: no test is run; this release is for comparing, not for publishing."
  for preset in win64 win32; do
    build "$preset" --target slidewell
  done
else
  bash scripts/test.sh
fi
version=$(slidewell_version "$build_root")

dist=$root/dist
staging=$build_root/release
rm -rf "$dist" "$staging"
mkdir -p "$dist" "$staging/x64" "$staging/x86"
cp "$build_root/win64/src/startup/slidewell.scr" "$staging/x64/"
cp "$build_root/win32/src/startup/slidewell.scr" "$staging/x86/"
programs=("$staging/x64/slidewell.scr" "$staging/x86/slidewell.scr")

# The programs are signed before the setup program that carries them is made.
signed=0
if [ -n "${SLIDEWELL_SIGN_PFX:-}" ]; then
  bash scripts/sign.sh "${programs[@]}"
  signed=1
else
  echo "release.sh: SLIDEWELL_SIGN_PFX is not set: this release is unsigned."
fi
# The setup program is made of the programs released; made of unsigned ones it is byte for byte the one
# the test command tested, and made of signed ones it is tested in turn, where 32-bit programs run.
bash scripts/make-installer.sh "$build_root" "${programs[@]}" >/dev/null
if [ "$skip_tests" != 1 ] && [ "$signed" = 1 ]; then
  if [ "$SLIDEWELL_WINE32" = 1 ]; then
    for prefix in 64-bit 32-bit; do bash tests/installer/run.sh "$build_root" "$prefix" "${programs[@]}"; done
  else
    say_not_run_without_32bit "The installer test of the signed setup program"
  fi
fi
setup=$(setup_program "$build_root" "$version")
[ -f "$setup" ] || { echo "release.sh: no setup program was made" >&2; exit 1; }
if [ "$signed" = 1 ]; then bash scripts/sign.sh "$setup"; fi
cp "$setup" "$dist/"
cp "$build_root/installer/README.txt" "$build_root/installer/LICENSE.txt" "$staging/"

zip=slidewell-$version-windows.zip
bash scripts/make-zip.sh "$dist/$zip" "$staging"
(cd "$dist" && sha256sum "${setup##*/}" "$zip" >SHA256SUMS)

echo "Release $version written to $dist:"
ls -l "$dist"
