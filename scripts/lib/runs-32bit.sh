# Sourced: decides whether this machine's kernel runs 32-bit x86 programs, which Wine's 32-bit loader, and
# so every 32-bit Windows program, needs, and exports the answer as SLIDEWELL_WINE32 (1 or 0). Every script
# rests on that one answer: one started by a script that sourced this file inherits it rather than asking
# again. The question is put to a 93-byte 32-bit program that only exits, so it needs nothing installed.
kernel_runs_32bit() {
  local dir status=1
  dir=$(mktemp -d)
  # ELF header, one loadable segment at 0x08048000, then: mov eax, 1; xor ebx, ebx; int 0x80 (exit 0).
  printf '%b' '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00' \
    '\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00' \
    '\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' \
    '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08' \
    '\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' \
    '\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$dir/exit32"
  chmod +x "$dir/exit32"
  "$dir/exit32" 2>/dev/null && status=0
  rm -rf "$dir"
  return $status
}
if [ -z "${SLIDEWELL_WINE32:-}" ]; then
  SLIDEWELL_WINE32=0
  kernel_runs_32bit && SLIDEWELL_WINE32=1
  export SLIDEWELL_WINE32
fi

# The Windows builds whose programs this machine runs.
runnable_windows_builds() {
  if [ "$SLIDEWELL_WINE32" = 1 ]; then echo "win64 win32"; else echo win64; fi
}

# Says that WHAT was not run, and why, where 32-bit programs do not run.
say_not_run_without_32bit() {
  echo "$1 not run: this machine's kernel does not run 32-bit programs."
}
