#!/usr/bin/env bash
# Checks the house rule of src/: each folder is a wing, and a file includes headers of its own wing and
# of the wings listed before it below, never of one listed after it. Names every include that breaks
# the rule, with its file and line, and fails if there is one.
#   scripts/check-wings.sh [SOURCE_FOLDER]      src/ of this checkout unless given
set -euo pipefail
src=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/src}

# The wings, from the most shared to the least: resources, window-free logic, Windows helpers, then the
# program's subsystems in the order they build on each other.
wings=(res text picture win settings slideshow setup setup/browser setup/dialog startup)

rank_of() {
  local i
  for i in "${!wings[@]}"; do
    if [ "${wings[$i]}" = "$1" ]; then
      echo "$i"
      return
    fi
  done
  echo -1
}

broken=0
while IFS= read -r -d '' file; do
  relative=${file#"$src"/}
  wing=$(dirname "$relative")
  rank=$(rank_of "$wing")
  if [ "$rank" -lt 0 ]; then
    echo "$relative: its folder $wing is no wing; add it to the wings of scripts/check-wings.sh"
    broken=1
    continue
  fi
  while IFS=: read -r line header; do
    # A header named without a folder is one of the file's own wing.
    [[ $header == */* ]] || continue
    used=$(dirname "$header")
    used_rank=$(rank_of "$used")
    if [ "$used_rank" -lt 0 ]; then
      echo "$relative:$line: #include \"$header\": $used is no wing of src/"
      broken=1
    elif [ "$used_rank" -gt "$rank" ]; then
      echo "$relative:$line: #include \"$header\": the $wing wing may not use $used, which is listed after it"
      broken=1
    fi
  done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" | sed 's/^\([0-9]*\):[^"]*"\([^"]*\)".*/\1:\2/')
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.c' -o -name '*.rc' \) -print0 | sort -z)

if [ "$broken" = 1 ]; then
  echo "check-wings.sh: a file uses a wing listed after its own (the wings: ${wings[*]})" >&2
  exit 1
fi
echo "check-wings.sh: every include keeps to the wings' order."
