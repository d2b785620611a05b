#!/usr/bin/env bash
# Builds QTX and runs every test (installs missing Debian packages first).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
qtx_install_deps
qtx_build build
ctest --test-dir build --output-on-failure -j2
