#!/usr/bin/env bash
# Signs Windows programs in place with Authenticode, by osslsigncode, with the certificate and key of the
# PKCS#12 (PFX) file SLIDEWELL_SIGN_PFX, whose password is SLIDEWELL_SIGN_PASSWORD (empty when unset; it
# reaches osslsigncode through a pipe, never its command line). The signing time is SOURCE_DATE_EPOCH (the
# commit's time when unset) and no time-stamp server is asked, so that a file signed twice with the same
# certificate comes out the same.
#   scripts/sign.sh FILE...
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib/source-date.sh"
pfx=${SLIDEWELL_SIGN_PFX:?sign.sh: set SLIDEWELL_SIGN_PFX to the PFX file to sign with}
[ -f "$pfx" ] || { echo "sign.sh: no PFX file at $pfx" >&2; exit 1; }

for file in "$@"; do
  signed=$file.signed
  printf '%s' "${SLIDEWELL_SIGN_PASSWORD:-}" |
    osslsigncode sign -pkcs12 "$pfx" -readpass - -h sha256 -n Slidewell -time "$SOURCE_DATE_EPOCH" \
      -in "$file" -out "$signed" >/dev/null
  mv "$signed" "$file"
done
