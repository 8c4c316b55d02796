#!/usr/bin/env bash
# Checks that every C and C++ file of the repository is formatted as .clang-format says (Debian's
# clang-format); each file that is not is named with what would change. Fix them with
#   git ls-files '*.h' '*.cpp' '*.c' | xargs clang-format -i
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
mapfile -t files < <(git ls-files '*.h' '*.cpp' '*.c')
clang-format --dry-run --Werror "${files[@]}"
