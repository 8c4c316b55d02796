# Sourced: start_stall_fixture DIR builds the tests' stalling file system (tests/stall/stall_preload.c)
# into DIR for both of Wine's loaders and puts it into LD_PRELOAD. Wine's 32-bit and 64-bit loaders each
# find their own build through the loader's $LIB, which names the library folder of the loading program's
# kind, so neither meets the other's and warns. It then checks that a call on a marked path is delayed:
# without the delay the stall tests would pass without testing anything.
start_stall_fixture() {
  local dir=$1 source
  source=$(cd "$(dirname "${BASH_SOURCE[0]}")/../tests/stall" && pwd)/stall_preload.c
  local kind kinds=(-m64)
  # A 32-bit build only where 32-bit programs run (scripts/wine-env.sh), which is where it can be built.
  [ "${SLIDEWELL_WINE32:-0}" = 1 ] && kinds+=(-m32)
  for kind in "${kinds[@]}"; do
    local lib="$dir/lib/$(gcc "$kind" -print-multiarch)"
    mkdir -p "$lib"
    gcc "$kind" -std=gnu17 -shared -fPIC -O2 -Wall -Wextra -Werror -o "$lib/stall_preload.so" "$source"
  done
  # The dollar sign is the loader's: it expands $LIB itself.
  # shellcheck disable=SC2016
  export LD_PRELOAD="$dir/"'$LIB/stall_preload.so'"${LD_PRELOAD:+ $LD_PRELOAD}"

  mkdir -p "$dir/check/stall-300ms"
  local before after
  before=$(date +%s%N)
  (exec -a slidewell.scr stat "$dir/check/stall-300ms" >/dev/null)
  after=$(date +%s%N)
  if [ $(( (after - before) / 1000000 )) -lt 300 ]; then
    echo "the stalling file system does not delay calls" >&2
    return 1
  fi
  rmdir "$dir/check/stall-300ms" "$dir/check"
}
