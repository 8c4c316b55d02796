# Sourced: the version of the builds in a build root, read from the one place that holds it, the setup
# program and the Windows Installer packages named after it, and the texts that ship with it.
#   slidewell_version BUILD_ROOT           prints the version that CMake's project() gave the 64-bit build
#   setup_program FOLDER VERSION           prints the path of the setup program of that version in FOLDER
#                                          (BUILD_ROOT/installer unless said otherwise)
#   msi_package FOLDER VERSION ARCH        the same for the x64 or x86 Windows Installer package
#   write_shipped_texts VERSION DIR        writes DIR/README.txt, titled with the version, and DIR/LICENSE.txt
version_sh_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

slidewell_version() {
  local version
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/win64/CMakeCache.txt")
  [ -n "$version" ] || { echo "${0##*/}: no project version in $1/win64" >&2; return 1; }
  echo "$version"
}

setup_program() {
  echo "$1/slidewell-setup-$2.exe"
}

msi_package() {
  echo "$1/slidewell-$2-$3.msi"
}

write_shipped_texts() {
  sed "1s/\$/ $1/" "$version_sh_root/README.md" >"$2/README.txt"
  cp "$version_sh_root/LICENSE" "$2/LICENSE.txt"
}
