#!/usr/bin/env bash
# Builds and tests everything (scripts/test.sh), then writes the release into dist/:
#   slidewell-setup-<version>.exe       the setup program
#   slidewell-<version>-x64.msi         the Windows Installer packages for 64-bit and 32-bit Windows
#   slidewell-<version>-x86.msi
#   slidewell-<version>-windows.zip     x64/slidewell.scr, x86/slidewell.scr, README.txt, LICENSE.txt
#   SHA256SUMS                          the checksums of them all
# The same commit gives the same bytes, wherever and whenever it is built: every time written is the
# commit's (SOURCE_DATE_EPOCH).
#   scripts/release.sh
#   SLIDEWELL_BUILD_ROOT=DIR          build somewhere other than ./build
#   SLIDEWELL_SIGN_PFX=FILE           sign both programs, the setup program and the packages with this
#   SLIDEWELL_SIGN_PASSWORD=PASSWORD  PFX file's certificate (scripts/sign.sh); without it the release is
#                                     unsigned
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
# The setup program and the packages are made of the programs released; made of unsigned ones they are
# byte for byte the ones the test command tested, and made of signed ones they are tested in turn (the
# setup program and the 32-bit package where 32-bit programs run).
bash scripts/make-installer.sh "$build_root" "${programs[@]}" >/dev/null
packages=()
for arch in x64 x86; do packages+=("$(msi_package "$build_root/installer" "$version" "$arch")"); done
bash scripts/make-msi.sh x64 "${programs[0]}" "$version" "${packages[0]}" >/dev/null
bash scripts/make-msi.sh x86 "${programs[1]}" "$version" "${packages[1]}" >/dev/null
if [ "$skip_tests" != 1 ] && [ "$signed" = 1 ]; then
  bash tests/installer/msi_run.sh "$build_root" 64-bit "${programs[@]}"
  if [ "$SLIDEWELL_WINE32" = 1 ]; then
    for prefix in 64-bit 32-bit; do bash tests/installer/run.sh "$build_root" "$prefix" "${programs[@]}"; done
    bash tests/installer/msi_run.sh "$build_root" 32-bit "${programs[@]}"
  else
    say_not_run_without_32bit "The tests of the signed setup program and of the signed 32-bit package"
  fi
fi
setup=$(setup_program "$build_root/installer" "$version")
[ -f "$setup" ] || { echo "release.sh: no setup program was made" >&2; exit 1; }
if [ "$signed" = 1 ]; then bash scripts/sign.sh "$setup" "${packages[@]}"; fi
cp "$setup" "${packages[@]}" "$dist/"
cp "$build_root/installer/README.txt" "$build_root/installer/LICENSE.txt" "$staging/"

zip=slidewell-$version-windows.zip
bash scripts/make-zip.sh "$dist/$zip" "$staging"
(cd "$dist" && sha256sum "${setup##*/}" "${packages[@]##*/}" "$zip" >SHA256SUMS)

echo "Release $version written to $dist:"
ls -l "$dist"
