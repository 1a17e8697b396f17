#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages that Corvane needs to build, test and run, when
# they are missing, and the packages named on its command line (e.g.
# flightgear). Needs root (or sudo) only when something must be installed.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  zlib1g-dev nlohmann-json3-dev
  qt6-base-dev libgl-dev fonts-dejavu-core
  xvfb xauth
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
