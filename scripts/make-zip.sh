#!/usr/bin/env bash
# Writes the release's zip from a folder that holds x64/slidewell.scr, x86/slidewell.scr, README.txt and
# LICENSE.txt: those four in that order, each dated SOURCE_DATE_EPOCH (the commit's time when unset) and
# readable by all, and nothing else of the machine that made it (owner, time zone, other file times), so
# that the same files always give the same zip.
#   scripts/make-zip.sh ZIP FOLDER
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/lib/source-date.sh"
zip_file=$(realpath -m "$1")
folder=$2
files=(x64/slidewell.scr x86/slidewell.scr README.txt LICENSE.txt)

staging=$(mktemp -d)
trap 'rm -rf "$staging"' EXIT
mkdir "$staging/x64" "$staging/x86"
for f in "${files[@]}"; do cp "$folder/$f" "$staging/$f"; done
chmod 644 "${files[@]/#/$staging/}"
chmod 755 "$staging/x64" "$staging/x86"
touch -d "@$SOURCE_DATE_EPOCH" "${files[@]/#/$staging/}" "$staging/x64" "$staging/x86"
rm -f "$zip_file"
# -X leaves out the owner and the extra time fields; zip dates in local time, so the zone is fixed.
(cd "$staging" && TZ=UTC zip -q -X -9 "$zip_file" x64/ x64/slidewell.scr x86/ x86/slidewell.scr README.txt LICENSE.txt)
