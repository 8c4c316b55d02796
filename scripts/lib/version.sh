# Sourced: the version of the builds in a build root, read from the one place that holds it, and the setup
# program named after it.
#   slidewell_version BUILD_ROOT      prints the version that CMake's project() gave the 64-bit build
#   setup_program BUILD_ROOT VERSION  prints the path of the setup program that make-installer.sh writes
slidewell_version() {
  local version
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$1/win64/CMakeCache.txt")
  [ -n "$version" ] || { echo "${0##*/}: no project version in $1/win64" >&2; return 1; }
  echo "$version"
}

setup_program() {
  echo "$1/installer/slidewell-setup-$2.exe"
}
