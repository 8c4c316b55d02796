# Sourced by the scripts that build: installs what is missing (install-deps.sh) and sets build_root, the
# folder every build goes into: SLIDEWELL_BUILD_ROOT, or build/ in the checkout.
#   build PRESET [ARGS...]   configures the preset's build in build_root/PRESET and builds it, with ARGS
build_env_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# Which packages are needed depends on whether 32-bit programs run here: that is decided once, before.
source "$build_env_root/scripts/runs-32bit.sh"
bash "$build_env_root/scripts/install-deps.sh"
build_root=${SLIDEWELL_BUILD_ROOT:-$build_env_root/build}

build() {
  (cd "$build_env_root" && cmake --preset "$1" -B "$build_root/$1" >/dev/null)
  cmake --build "$build_root/$1" --parallel "$(nproc)" "${@:2}"
}
