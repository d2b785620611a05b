#!/usr/bin/env bash
# Builds QTX and runs every test (installs missing Debian packages first).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
qtx_install_deps
qtx_build build
ctest --test-dir build --output-on-failure -j2 --timeout 300

# The image parser meets whatever bytes a radio sends, the file readers
# whatever is on disk: their tests run once more under AddressSanitizer and
# UndefinedBehaviorSanitizer.
# -O1 without debug information: the sanitizers' own advice, and it builds
# in about half the time of the main build's -O2 -g.
cmake -S . -B build-asan -G Ninja -DQTX_BUILD_GUI=OFF -DQTX_SANITIZE=ON \
  -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS="-O1 -g0" >/dev/null
cmake --build build-asan -j2 --target test_core_image test_core_image_fuzz test_core_files
build-asan/tests/test_core_image --gtest_brief=1
build-asan/tests/test_core_image_fuzz --gtest_brief=1
build-asan/tests/test_core_files --gtest_brief=1
