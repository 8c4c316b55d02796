#!/usr/bin/env bash
# Makes the Windows Installer package of one architecture from installer/slidewell.wxs with wixl:
#   scripts/make-msi.sh x64|x86 SCR VERSION OUT_MSI
# SCR is the slidewell.scr of that architecture; the package ships it with the README (titled with
# VERSION) and the licence. The same program, version and commit give the same bytes: the product code
# comes from the architecture and the version, the package code also from SOURCE_DATE_EPOCH (the
# commit's time when unset), and every time in the package (its summary's creation and last save, the
# files' dates in its cabinet) is SOURCE_DATE_EPOCH.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/lib/source-date.sh"
source "$root/scripts/lib/version.sh"
arch=$1 scr=$2 version=$3 out=$(realpath -m "$4")
case $arch in
  x64) template='x64;1033' ;;
  x86) template='Intel;1033' ;;
  *) echo "make-msi.sh: the architecture is x64 or x86, not $arch" >&2; exit 2 ;;
esac
[ -f "$scr" ] || { echo "make-msi.sh: $scr is not built" >&2; exit 1; }

# A name-based UUID (RFC 4122 version 5) of NAME in the namespace of Slidewell's packages.
name_uuid() {
  local namespace=9f3b6c1e-47d2-4a8e-b5f0-2d61c8e9a734 namespace_bytes hex
  namespace_bytes=$(printf '%s' "${namespace//-/}" | sed 's/../\\x&/g')
  hex=$({ printf "$namespace_bytes"; printf '%s' "$1"; } | sha1sum | cut -c1-32)
  hex=${hex:0:12}5${hex:13:3}$(printf '%x' $(((0x${hex:16:1} & 3) | 8)))${hex:17}
  echo "${hex:0:8}-${hex:8:4}-${hex:12:4}-${hex:16:4}-${hex:20:12}" | tr a-f A-F
}

# wixl finds the files it packs in the folder it runs in.
files=$(mktemp -d)
trap 'rm -rf "$files"' EXIT
cp "$scr" "$files/slidewell.scr"
cp "$root/src/res/slidewell.ico" "$files/"
write_shipped_texts "$version" "$files"
touch -d "@$SOURCE_DATE_EPOCH" "$files"/*
mkdir -p "$(dirname "$out")"
rm -f "$out"

# wixl takes its times from the clock and draws a random package code, so it runs on a clock stopped at
# the commit's time, and msibuild then writes the package code into the summary.
at_commit_time=(env TZ=UTC faketime -f "$(date -u -d "@$SOURCE_DATE_EPOCH" '+%Y-%m-%d %H:%M:%S')")
(cd "$files" && "${at_commit_time[@]}" wixl -a "$arch" -D "Arch=$arch" -D "Version=$version" \
  -D "ProductCode=$(name_uuid "product $arch $version")" -o "$out" "$root/installer/slidewell.wxs")
"${at_commit_time[@]}" msibuild "$out" -s Slidewell "Slidewell developers" "$template" \
  "{$(name_uuid "package $arch $version $SOURCE_DATE_EPOCH")}"
echo "$out"
