# Sourced by wine-session.sh: the tests' stalling file system (tests/stall/stall_preload.c).
#   start_stall_fixture DIR   builds it into DIR for Wine's loaders (the 32-bit one only where it runs),
#                             puts it into LD_PRELOAD and logs its delays to SLIDEWELL_STALL_LOG
#   check_stall_fixture DIR   once the prefix is ready: checks that it delays the program's own calls
# Wine's 32-bit and 64-bit loaders each find their own build through the loader's $LIB, which names the
# library folder of the loading program's kind, so neither meets the other's and warns.
stall_fixture_source=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../tests/stall" && pwd)

start_stall_fixture() {
  local dir=$1 kind kinds=-m64
  # Without Wine's 32-bit loader (runs-32bit.sh) no 32-bit program runs, and the 32-bit C library may be
  # missing too.
  [ "$SLIDEWELL_WINE32" = 1 ] && kinds="-m64 -m32"
  for kind in $kinds; do
    local lib="$dir/lib/$(gcc "$kind" -print-multiarch)"
    mkdir -p "$lib"
    gcc "$kind" -std=gnu17 -shared -fPIC -O2 -Wall -Wextra -Werror -o "$lib/stall_preload.so" \
      "$stall_fixture_source/stall_preload.c"
  done
  # The dollar sign is the loader's: it expands $LIB itself.
  # shellcheck disable=SC2016
  export LD_PRELOAD="$dir/"'$LIB/stall_preload.so'"${LD_PRELOAD:+ $LD_PRELOAD}"
  export SLIDEWELL_STALL_LOG="$dir/delays.log"
}

# A Windows program of the fixture's own, named slidewell.scr as the program under test is, reads a file
# on a stalled path and one on a slow path, under each Windows kind that the prefix runs: without delays
# that reach that program's process the stall tests would pass without testing anything.
check_stall_fixture() {
  local dir=$1/check kind
  local kinds=(x86_64)
  [ "$SLIDEWELL_WINE32" = 1 ] && kinds+=(i686)
  # A 32-bit prefix runs 32-bit programs only.
  [ -d "$WINEPREFIX/drive_c/windows/syswow64" ] || kinds=(i686)
  mkdir -p "$dir/stall-300ms" "$dir/slow-256kBps"
  echo data >"$dir/stall-300ms/data"
  head -c 65536 /dev/zero >"$dir/slow-256kBps/data"
  for kind in "${kinds[@]}"; do
    mkdir -p "$dir/$kind"
    "$kind-w64-mingw32-gcc-posix" -std=c17 -O2 -Wall -Wextra -Werror -municode -o "$dir/$kind/slidewell.scr" \
      "$stall_fixture_source/stall_probe.c"
    # A call on the stalled path takes its 300 ms; 64 kB at 256 kB/s take 250 ms.
    check_delay "$dir/$kind/slidewell.scr" "$dir/stall-300ms/data" 300 "$kind: the stalling file system does not delay calls" &&
      check_delay "$dir/$kind/slidewell.scr" "$dir/slow-256kBps/data" 250 "$kind: the stalling file system does not slow reads" ||
      return 1
  done
  rm -r "$dir"
}

# check_delay PROGRAM FILE AT_LEAST_MS MESSAGE: PROGRAM's read of FILE took that long, and the log shows
# the delay of that program's process.
check_delay() {
  local out ms before
  before=$(delays_noted)
  out=$("$SLIDEWELL_WINE" "$1" "$(winepath -w "$2")" </dev/null 2>/dev/null) || { echo "$4: the probe failed" >&2; return 1; }
  # The Windows program ends its line with a carriage return too.
  ms=${out#* }
  ms=${ms%$'\r'}
  if ! [[ $ms =~ ^[0-9]+$ ]] || [ "$ms" -lt "$3" ] || [ "$(delays_noted)" -le "$before" ]; then
    echo "$4 (the read took $ms ms)" >&2
    return 1
  fi
}

# The number of delays noted in the log so far.
delays_noted() {
  if [ -f "$SLIDEWELL_STALL_LOG" ]; then wc -l <"$SLIDEWELL_STALL_LOG"; else echo 0; fi
}
