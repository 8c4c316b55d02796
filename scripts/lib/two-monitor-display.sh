# Sourced, after virtual-display.sh: start_two_monitor_display DIR starts a private X server with two
# monitors side by side, of different sizes (SLIDEWELL_LEFT_MONITOR, 1280x1024, primary, and
# SLIDEWELL_RIGHT_MONITOR, 1024x768, to its right, tops aligned), exports DISPLAY and sets
# virtual_display_pid, so that stop_virtual_display ends it.
# Xvfb offers one RandR output only, and Wine 8 places a second Xinerama screen at the origin; X.Org's
# dummy driver offers RandR outputs, which Wine reads as monitors at their places.
start_two_monitor_display() {
  local dir=$1
  local left=${SLIDEWELL_LEFT_MONITOR:-1280x1024} right=${SLIDEWELL_RIGHT_MONITOR:-1024x768}
  local width=$(( ${left%x*} + ${right%x*} )) height=$(( ${left#*x} > ${right#*x} ? ${left#*x} : ${right#*x} ))
  local mode modelines=
  for mode in "$left" "$right"; do
    # A mode line of the size's own: the dummy driver draws nothing, so the timings only need to be valid.
    modelines+="  Modeline \"$mode\" 100.00 ${mode%x*} $(( ${mode%x*} + 8 )) $(( ${mode%x*} + 16 )) $(( ${mode%x*} + 24 ))"
    modelines+=" ${mode#*x} $(( ${mode#*x} + 1 )) $(( ${mode#*x} + 2 )) $(( ${mode#*x} + 3 ))"$'\n'
  done
  cat >"$dir/xorg.conf" <<CONF
Section "ServerFlags"
  Option "DontVTSwitch" "true"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
EndSection
Section "Device"
  Identifier "card"
  Driver "dummy"
  VideoRam $(( width * height * 4 / 1024 + 1024 ))
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 1.0-10000.0
  VertRefresh 1.0-10000.0
$modelines
EndSection
Section "Screen"
  Identifier "screen"
  Device "card"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "$left" "$right"
    Virtual $width $height
  EndSubSection
EndSection
CONF
  Xorg -displayfd 3 -config "$dir/xorg.conf" -logfile "$dir/xorg.log" -nolisten tcp -noreset -novtswitch -sharevts \
    3>"$dir/display" >"$dir/xorg.out" 2>&1 &
  virtual_display_pid=$!
  await_display_number "$dir" "$dir/xorg.out"
  xrandr --addmode DUMMY1 "$right"
  xrandr --fb "${width}x${height}" --output DUMMY0 --mode "$left" --pos 0x0 --primary \
    --output DUMMY1 --mode "$right" --pos "${left%x*}x0"
  # Wine reads the monitors once, when its first program starts: they must be in place by then.
  local _
  for _ in $(seq 1 50); do
    xrandr --listmonitors >"$dir/monitors" 2>&1 && grep -q "^Monitors: 2" "$dir/monitors" && return 0
    sleep 0.1
  done
  echo "the second monitor did not come up:" >&2
  cat "$dir/monitors" >&2
  return 1
}
