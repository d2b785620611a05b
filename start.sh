#!/usr/bin/env bash
# Builds QTX (installing missing Debian packages first) and starts it with a
# simulated radio attached.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
qtx_install_deps
qtx_build build
bin=build/bin

if [ ! -x "$bin/qtx" ]; then
  echo "The desktop program is not built yet; only the core library and its tests exist." >&2
  exit 1
fi
