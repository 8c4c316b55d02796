#!/usr/bin/env bash
# Checks what scripts/release.sh relies on, against the Release builds in BUILD_ROOT:
# - the same sources built in another folder, at another time, give both programs byte for byte;
# - the zip, and each Windows Installer package, comes out the same from the same files whatever their
#   times and permissions, the time zone and the time it is made;
# - a program and a package signed with a throwaway self-signed certificate verify against it, and
#   signing each twice gives the same bytes.
#   tests/release/run.sh BUILD_ROOT
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build_root=$(cd "$1" && pwd)
source "$root/scripts/lib/source-date.sh"
source "$root/scripts/lib/version.sh"
version=$(slidewell_version "$build_root")
work=$(mktemp -d "${TMPDIR:-/tmp}/slidewell-release-check.XXXXXX")
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL release check: $*"
  exit 1
}

# 1. Another folder of another length, the files copied now, the tests left out: only the programs.
elsewhere=$work/another/source/folder
mkdir -p "$elsewhere"
(cd "$root" && git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$elsewhere")
for preset in win64 win32; do
  (cd "$elsewhere" && cmake --preset "$preset" -B "$work/build/$preset" -DSLIDEWELL_TESTS=OFF >/dev/null &&
    cmake --build "$work/build/$preset" --parallel "$(nproc)" --target slidewell >/dev/null)
  cmp -s "$build_root/$preset/src/startup/slidewell.scr" "$work/build/$preset/src/startup/slidewell.scr" ||
    fail "the $preset slidewell.scr built in another folder differs"
done

# 2. The zip twice: from the builds, and from copies with other times and permissions, in another zone.
for copy in one two; do
  mkdir -p "$work/$copy/x64" "$work/$copy/x86"
  cp "$build_root/win64/src/startup/slidewell.scr" "$work/$copy/x64/"
  cp "$build_root/win32/src/startup/slidewell.scr" "$work/$copy/x86/"
  cp "$root/README.md" "$work/$copy/README.txt"
  cp "$root/LICENSE" "$work/$copy/LICENSE.txt"
done
chmod -R go-rwx "$work/two"
touch -d '2001-02-03 04:05:06' "$work/two/x64/slidewell.scr" "$work/two/README.txt"
bash "$root/scripts/make-zip.sh" "$work/one.zip" "$work/one"
TZ=Pacific/Kiritimati bash "$root/scripts/make-zip.sh" "$work/two.zip" "$work/two"
cmp -s "$work/one.zip" "$work/two.zip" || fail "the zip differs between two runs over the same files"

# 3. Each package twice, likewise, the second at least two seconds later.
for arch in x64 x86; do
  bash "$root/scripts/make-msi.sh" "$arch" "$work/one/$arch/slidewell.scr" "$version" "$work/one/$arch.msi" >/dev/null
done
sleep 2
for arch in x64 x86; do
  (cd "$work/two" && TZ=Pacific/Kiritimati bash "$root/scripts/make-msi.sh" "$arch" "$arch/slidewell.scr" "$version" "$arch.msi" >/dev/null)
  cmp -s "$work/one/$arch.msi" "$work/two/$arch.msi" || fail "the $arch package differs between two runs over the same files"
done

# 4. Signatures by a throwaway certificate, checked against that certificate alone.
openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Slidewell test signer" \
  -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/sign.pfx" -passout pass:throwaway
for copy in one two; do
  SLIDEWELL_SIGN_PFX=$work/sign.pfx SLIDEWELL_SIGN_PASSWORD=throwaway \
    bash "$root/scripts/sign.sh" "$work/$copy/x64/slidewell.scr" "$work/$copy/x64.msi"
done
for signed in x64/slidewell.scr x64.msi; do
  osslsigncode verify -CAfile "$work/cert.pem" -in "$work/one/$signed" >"$work/verify.log" 2>&1 ||
    fail "the signed $signed does not verify: $(tail -n 3 "$work/verify.log")"
  cmp -s "$work/one/$signed" "$work/two/$signed" || fail "signing the same $signed twice differs"
done

echo "PASS release checks: programs built elsewhere, zip, packages, signatures"
