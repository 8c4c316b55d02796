# Sourced by the commands that build. Defines:
#   build_root                the folder every build goes into: SLIDEWELL_BUILD_ROOT, or build/ in the checkout
#   install_what_is_missing   runs install-deps.sh, once a run: a command started by one that did it skips it
#   build PRESET [ARGS...]    configures the preset's build in build_root/PRESET and builds it, with ARGS
build_env_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# Which packages are needed depends on whether 32-bit programs run here: that is decided once, before.
source "$build_env_root/scripts/lib/runs-32bit.sh"
build_root=${SLIDEWELL_BUILD_ROOT:-$build_env_root/build}

install_what_is_missing() {
  [ "${SLIDEWELL_INSTALLED:-0}" = 1 ] && return 0
  echo "Installing what is missing (scripts/install-deps.sh)"
  bash "$build_env_root/scripts/install-deps.sh" || return 1
  export SLIDEWELL_INSTALLED=1
}

build() {
  (cd "$build_env_root" && cmake --preset "$1" -B "$build_root/$1" >/dev/null)
  cmake --build "$build_root/$1" --parallel "$(nproc)" "${@:2}"
}
