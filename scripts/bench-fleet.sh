#!/usr/bin/env bash
# Fleet writing against paced radios: four qtx-radiosim with 9600-baud wire
# timing written at once (A) against one written alone (B), timed with
# farm-bench. The radios run in parallel, so A/B should stay within 1.1.
#
# Usage: scripts/bench-fleet.sh [build-dir] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
runs=${2:-3}
bin=$dir/bin
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

for r in a b c d solo; do
  "$bin/qtx-radiosim" --baud-timing --link "$work/$r" >/dev/null &
  pids+=($!)
done
for r in a b c d solo; do
  for _ in $(seq 50); do [ -e "$work/$r" ] && break; sleep 0.1; done
done
"$bin/qtx-cli" new -q -o "$work/bench.dat"

farm-bench -n "$runs" --warmup 0 --timeout 900 \
  --vs "$bin/qtx-cli write -q --port $work/solo $work/bench.dat" \
  -- "$bin/qtx-cli" write -q --port "$work/a" --port "$work/b" --port "$work/c" --port "$work/d" "$work/bench.dat"
