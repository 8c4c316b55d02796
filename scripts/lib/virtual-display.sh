# Sourced: start_virtual_display DIR starts a private Xvfb display, exports DISPLAY and sets
# virtual_display_pid; stop_virtual_display ends it. Xvfb picks a free display number itself and
# reports it on the given descriptor.
virtual_display_pid=

# Waits until the X server virtual_display_pid has written its display number to DIR/display, then
# exports DISPLAY; LOG is shown if the server ends first.
await_display_number() {
  local dir=$1 log=$2 _
  for _ in $(seq 1 100); do
    [ -s "$dir/display" ] && break
    kill -0 "$virtual_display_pid" 2>/dev/null || { cat "$log" >&2; return 1; }
    sleep 0.1
  done
  [ -s "$dir/display" ] || { echo "the X server did not start" >&2; return 1; }
  export DISPLAY=":$(head -n1 "$dir/display")"
}

start_virtual_display() {
  local dir=$1
  Xvfb -displayfd 3 -screen 0 "${SLIDEWELL_SCREEN:-1280x1024x24}" -nolisten tcp 3>"$dir/display" \
    >"$dir/xvfb.log" 2>&1 &
  virtual_display_pid=$!
  await_display_number "$dir" "$dir/xvfb.log"
}

stop_virtual_display() {
  if [ -n "$virtual_display_pid" ]; then
    kill "$virtual_display_pid" 2>/dev/null || true
    wait "$virtual_display_pid" 2>/dev/null || true
    virtual_display_pid=
  fi
}
