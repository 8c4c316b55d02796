# Sourced: start_stall_fixture DIR builds the tests' stalling file system (tests/stall/stall_preload.c)
# into DIR for Wine's loaders (the 32-bit one only where it runs) and puts it into LD_PRELOAD. Wine's
# 32-bit and 64-bit loaders each find their own build through the loader's $LIB, which names the library
# folder of the loading program's kind, so neither meets the other's and warns. It then checks that a
# call on a marked path is delayed and a read on a slow one slowed: without that the stall tests would
# pass without testing anything.
start_stall_fixture() {
  local dir=$1 source
  source=$(cd "$(dirname "${BASH_SOURCE[0]}")/../tests/stall" && pwd)/stall_preload.c
  # Without Wine's 32-bit loader (runs-32bit.sh) no 32-bit program runs, and the 32-bit C library may be
  # missing too.
  local kind kinds=-m64
  [ "$SLIDEWELL_WINE32" = 1 ] && kinds="-m64 -m32"
  for kind in $kinds; do
    local lib="$dir/lib/$(gcc "$kind" -print-multiarch)"
    mkdir -p "$lib"
    gcc "$kind" -std=gnu17 -shared -fPIC -O2 -Wall -Wextra -Werror -o "$lib/stall_preload.so" "$source"
  done
  # The dollar sign is the loader's: it expands $LIB itself.
  # shellcheck disable=SC2016
  export LD_PRELOAD="$dir/"'$LIB/stall_preload.so'"${LD_PRELOAD:+ $LD_PRELOAD}"

  mkdir -p "$dir/check/stall-300ms" "$dir/check/slow-256kBps"
  head -c 65536 /dev/zero >"$dir/check/slow-256kBps/data"
  if [ "$(ms_taken_by_slidewell stat "$dir/check/stall-300ms")" -lt 300 ]; then
    echo "the stalling file system does not delay calls" >&2
    return 1
  fi
  # 64 kB at 256 kB/s.
  if [ "$(ms_taken_by_slidewell head -c 65536 "$dir/check/slow-256kBps/data")" -lt 250 ]; then
    echo "the stalling file system does not slow reads" >&2
    return 1
  fi
  rm -r "$dir/check"
}

# The milliseconds that COMMAND takes when it runs under the name of slidewell.scr.
ms_taken_by_slidewell() {
  local before after
  before=$(date +%s%N)
  (exec -a slidewell.scr "$@" >/dev/null)
  after=$(date +%s%N)
  echo $(( (after - before) / 1000000 ))
}
