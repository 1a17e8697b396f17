#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds and runs every test.
# Usage: scripts/test.sh [--sanitize]   (the sanitizer build uses build-sanitize/)
set -euo pipefail
cd "$(dirname "$0")/.."

dir=build
[ "${1:-}" = "--sanitize" ] && dir=build-sanitize
scripts/build.sh "$@"
ctest --test-dir "$dir" --output-on-failure -j 2
