#!/usr/bin/env bash
# Times a full read and a full write of a simulated radio through the serial
# runner, over a pseudo-terminal:
#   (a) without timing emulation: how fast the program itself is;
#   (b) with 9600-baud emulation: how close the link comes to the wire.
# For (b) each line shows the ideal time of the traffic (every byte of every
# frame and reply at 960 bytes/s, echoes crossing the wire while their bytes
# are sent, plus the simulator's processing delay once per reply) and the
# ratio to it. Targets: (a) read under 1 s; (b) ratio within 1.02.
#
# Usage: scripts/bench-link.sh [build-dir] [--fast-only|--baud-only]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build
part=both
for arg in "$@"; do
  case "$arg" in
    --fast-only) part=fast ;;
    --baud-only) part=baud ;;
    -*) echo "unknown option $arg" >&2; exit 2 ;;
    *) dir=$arg ;;
  esac
done
source scripts/deps.sh
qtx_build "$dir" >/dev/null
bench=$dir/bin/qtx-linkbench

if [ "$part" != baud ]; then
  echo "(a) no timing emulation"
  "$bench"
fi
if [ "$part" != fast ]; then
  echo "(b) 9600-baud emulation, 2 ms reply delay (takes about a minute)"
  "$bench" --baud-timing --reply-delay 2
fi
