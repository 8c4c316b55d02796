#!/usr/bin/env bash
# Checks what scripts/release.sh relies on, against the Release builds in BUILD_ROOT:
# - the same sources built in another folder, at another time, give both programs byte for byte;
# - the zip comes out the same from the same files whatever their times and permissions, and time zone;
# - a program signed with a throwaway self-signed certificate verifies against it, and signing it twice
#   gives the same bytes.
#   tests/release/run.sh BUILD_ROOT
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build_root=$(cd "$1" && pwd)
source "$root/scripts/lib/source-date.sh"
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

# 3. A signature by a throwaway certificate, checked against that certificate alone.
openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Slidewell test signer" \
  -addext extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/sign.pfx" -passout pass:throwaway
for copy in one two; do
  SLIDEWELL_SIGN_PFX=$work/sign.pfx SLIDEWELL_SIGN_PASSWORD=throwaway \
    bash "$root/scripts/sign.sh" "$work/$copy/x64/slidewell.scr"
done
osslsigncode verify -CAfile "$work/cert.pem" -in "$work/one/x64/slidewell.scr" >"$work/verify.log" 2>&1 ||
  fail "the signed program does not verify: $(tail -n 3 "$work/verify.log")"
cmp -s "$work/one/x64/slidewell.scr" "$work/two/x64/slidewell.scr" || fail "signing the same program twice differs"

echo "PASS release checks: programs built elsewhere, zip, signature"
