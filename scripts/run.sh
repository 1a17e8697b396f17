#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds, starts the stand-in simulator and checks the
# link to it with the link demo.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build.sh >/dev/null
sim=build/fs98/fltsim98.exe
"$sim" --headless --lat 51.4775 --lon -0.4614 --alt 3000 --heading 90 --speed 200 &
sim_pid=$!
trap 'kill $sim_pid 2>/dev/null || true' EXIT
for _ in $(seq 1 50); do
  build/bin/corvane-linkdemo >/dev/null 2>&1 && break
  sleep 0.1
done
build/bin/corvane-linkdemo --count 3 --interval 500
