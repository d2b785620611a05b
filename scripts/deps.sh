#!/usr/bin/env bash
# Installs the Debian packages QTX needs to build, test and run, when any is
# missing. Sourced by start.sh and test.sh.
set -euo pipefail

QTX_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libqt6serialport6 qt6-qpa-plugins
  qt6-translations-l10n
  libgl-dev libgtest-dev nlohmann-json3-dev
  fonts-wqy-microhei fonts-dejavu-core
  # The installation test: package tools and validators of the shipped files.
  dpkg-dev desktop-file-utils appstream groff-base
  # The printing tests read the PDFs back as text.
  poppler-utils
)

qtx_missing_packages() {
  local missing=()
  for p in "${QTX_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  echo "${missing[@]:-}"
}

qtx_install_deps() {
  local missing
  missing=$(qtx_missing_packages)
  [ -z "$missing" ] && return 0
  echo "Installing: $missing" >&2
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

# Configures and builds into $1 (default: build); extra arguments go to cmake.
qtx_build() {
  local dir=${1:-build}
  shift || true
  local root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  if [ ! -f "$root/$dir/build.ninja" ]; then
    cmake -S "$root" -B "$root/$dir" -G Ninja "$@" >/dev/null
  fi
  cmake --build "$root/$dir" -j2
}
