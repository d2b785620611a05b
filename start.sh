#!/usr/bin/env bash
# Builds QTX (installing missing Debian packages first) and starts the desktop
# program with a simulated radio attached as port COM99.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
qtx_install_deps
qtx_build build
bin=build/bin

# The simulated radio keeps its memory between runs in build/radio.img.
radio_image=build/radio.img
radio_link="$PWD/build/radio-com99"
sim_args=(--link "$radio_link" --save "$radio_image")
# More options for the simulated radio, e.g. QTX_RADIOSIM_ARGS="--baud-timing --password 1234".
read -r -a extra <<< "${QTX_RADIOSIM_ARGS:-}"
sim_args+=("${extra[@]}")
[ -f "$radio_image" ] && sim_args+=(--image "$radio_image")
"$bin/qtx-radiosim" "${sim_args[@]}" >/dev/null &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$radio_link" ] && break; sleep 0.1; done
if [ ! -e "$radio_link" ]; then
  echo "The simulated radio did not start." >&2
  exit 1
fi

# Offer it as COM99 and choose it, keeping everything else in mysetup.ini.
scripts/ini-set "$bin/language/mysetup.ini" ports COM99 "$radio_link"
scripts/ini-set "$bin/language/mysetup.ini" language comPort 99

"$bin/qtx" "$@"
