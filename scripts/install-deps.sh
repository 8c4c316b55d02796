#!/usr/bin/env bash
# Installs what building, running and testing Slidewell needs on Debian 12.
# Safe to run again: it installs only what is missing. It rides out a package mirror's bad moments: an
# index that fails to update is tried again, and packages that cannot be installed together from the
# mirror's mixed pockets are taken from the release's own pocket.
set -euo pipefail
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/lib/runs-32bit.sh"

packages=(
  cmake ninja-build make
  g++ googletest
  clang-16 lld-16 libclang-rt-16-dev clang-format
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  mingw-w64-tools binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 fonts-wine
  xvfb x11-utils xauth
  imagemagick
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  nsis osslsigncode zip openssl
  wixl msitools faketime
)
# Wine's 32-bit loader and the 32-bit stall fixture are of use only where the kernel runs 32-bit programs.
# Wine's X11 driver opens the X extension libraries when a program starts, and without them goes on with
# less: without RandR a program can neither read the monitors' modes nor change them, without Xrender text
# and alpha are drawn another way, without XInput2 the mouse comes through core events only. Debian's wine
# brings them for its 64-bit side but only recommends them for wine32, so the 32-bit side gets each here
# by name, and 32-bit programs see the display as 64-bit ones do.
if [ "$SLIDEWELL_WINE32" = 1 ]; then
  packages+=(wine32:i386 gcc-multilib)
  packages+=(libxrandr2:i386 libxinerama1:i386 libxi6:i386 libxcursor1:i386 libxcomposite1:i386)
  packages+=(libxrender1:i386 libxfixes3:i386 libxext6:i386 libxxf86vm1:i386)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -eq 0 ]; then
  echo "install-deps.sh: everything needed is installed."
  exit 0
fi
echo "install-deps.sh: installing ${missing[*]}"

as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
apt_get() { DEBIAN_FRONTEND=noninteractive "${as_root[@]}" apt-get -q "$@"; }

if [[ " ${missing[*]} " == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${as_root[@]}" dpkg --add-architecture i386
fi

# A mirror being synced serves an index of the wrong size for a while: try again after a pause, and go on
# with what could be had, since the packages needed may well be found without that index.
for attempt in 1 2 3; do
  apt_get update && break
  [ "$attempt" -lt 3 ] && { echo "install-deps.sh: package index update failed; trying again in 10 s"; sleep 10; }
done

if apt_get install -y --no-install-recommends "${missing[@]}"; then
  exit 0
fi
# With one pocket's index missing (say the security updates for i386), the 32-bit libraries find no
# versions matching the 64-bit ones installed. Every package from the release's own pocket agrees.
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
echo "install-deps.sh: trying again with every package from the $codename pocket"
if apt_get install -y --no-install-recommends -t "$codename" "${missing[@]}"; then
  exit 0
fi
echo "install-deps.sh: could not install ${missing[*]}: the package mirror may be mid-sync or unreachable;" \
  "wait a few minutes and run the command again, or point /etc/apt/sources.list at another Debian mirror." >&2
exit 1
