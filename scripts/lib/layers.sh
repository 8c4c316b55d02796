# Sourced by test.sh: the test command's layers, each run to its end whatever the others came to, and
# the summary of what each came to.
#   run_layer NAME COMMAND [ARGS...]   runs the command as the layer NAME: passed when it exits with 0
#   skip_layer NAME REASON             notes the layer as not run, and why
#   note_layer NAME TEXT               adds TEXT to what the summary says of the layer
#   layer_passed NAME                  whether the layer ran and passed
#   print_layers                       every layer as passed, failed or not run, with its time or its
#                                      reason, then a last line "N passed, M failed"
layer_names=()
layer_results=()
layer_details=()

layer_index() {
  local i
  for i in "${!layer_names[@]}"; do
    [ "${layer_names[$i]}" = "$1" ] && { echo "$i"; return 0; }
  done
  return 1
}

run_layer() {
  local name=$1 started status=0
  shift
  echo
  echo "=== $name"
  started=$(date +%s)
  "$@" || status=$?
  layer_names+=("$name")
  if [ "$status" = 0 ]; then layer_results+=(passed); else layer_results+=(failed); fi
  layer_details+=("$(( $(date +%s) - started )) s")
  [ "$status" = 0 ] || echo "=== $name: failed (exit status $status)"
  return 0
}

skip_layer() {
  echo
  echo "=== $1: not run: $2"
  layer_names+=("$1")
  layer_results+=("not run")
  layer_details+=("$2")
}

note_layer() {
  local i
  i=$(layer_index "$1") || return 0
  layer_details[$i]+="; $2"
}

layer_passed() {
  local i
  i=$(layer_index "$1") || return 1
  [ "${layer_results[$i]}" = passed ]
}

print_layers() {
  local i passed=0 failed=0 not_run=0
  echo
  echo "Layers:"
  for i in "${!layer_names[@]}"; do
    printf '  %-8s %s (%s)\n' "${layer_results[$i]}" "${layer_names[$i]}" "${layer_details[$i]}"
    case ${layer_results[$i]} in
      passed) passed=$((passed + 1)) ;;
      failed) failed=$((failed + 1)) ;;
      *) not_run=$((not_run + 1)) ;;
    esac
  done
  [ "$not_run" = 0 ] || echo "$not_run not run, each for the reason given."
  echo "$passed passed, $failed failed"
  [ "$failed" = 0 ]
}

# The GoogleTest cases that skipped, from the XML reports in DIR that the test programs wrote there
# (GTEST_OUTPUT=xml:DIR/), noted on layer NAME with the reason each gave: a skipped case is no pass.
note_skipped_cases() {
  local name=$1 dir=$2 skipped
  skipped=$(cat "$dir"/*.xml 2>/dev/null | awk '
    /<testcase / && /result="skipped"/ {
      match($0, /name="[^"]*"/); test = substr($0, RSTART + 6, RLENGTH - 7)
      match($0, /classname="[^"]*"/); suite = substr($0, RSTART + 11, RLENGTH - 12)
      pending = suite "." test
      next
    }
    pending != "" && /<skipped / {
      reason = ""
      if (match($0, /message="[^"]*"/)) reason = substr($0, RSTART + 9, RLENGTH - 10)
      sub(/.*&#x0A;/, "", reason)
      printf "%s%s: %s", (count++ ? ", " : ""), pending, reason
      pending = ""
    }
    END { if (count) printf " (%d case%s skipped)", count, (count > 1 ? "s" : "") }')
  [ -z "$skipped" ] || note_layer "$name" "skipped: $skipped"
}
