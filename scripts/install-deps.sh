#!/usr/bin/env bash
# Installs what building, running and testing Slidewell needs on Debian 12.
# Safe to run again: it installs only what is missing.
set -euo pipefail

packages=(
  cmake ninja-build make
  g++ googletest
  gcc-multilib
  clang-16 lld-16 libclang-rt-16-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  mingw-w64-tools binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 wine32:i386 fonts-wine
  xvfb x11-utils xauth
  imagemagick
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  nsis
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ "${#missing[@]}" -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
