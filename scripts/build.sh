#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Configures and builds Corvane. Usage: scripts/build.sh [--sanitize] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=OFF
dir=build
for arg in "$@"; do
  case "$arg" in
    --sanitize) sanitize=ON; dir=build-sanitize ;;
    -h|--help) echo "Usage: scripts/build.sh [--sanitize] [BUILD_DIR]"; exit 0 ;;
    *) dir="$arg" ;;
  esac
done

scripts/install-deps.sh
cmake -S . -B "$dir" -G Ninja -DCORVANE_SANITIZE="$sanitize" >/dev/null
cmake --build "$dir" -j "$(nproc)"
