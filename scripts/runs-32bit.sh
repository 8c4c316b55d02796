#!/usr/bin/env bash
# Says whether this machine's kernel runs 32-bit x86 programs, and so whether Wine runs 32-bit Windows
# programs here: prints 1 or 0, the answer every script of the project rests on (scripts/lib/runs-32bit.sh).
#   scripts/runs-32bit.sh
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib/runs-32bit.sh"
echo "$SLIDEWELL_WINE32"
