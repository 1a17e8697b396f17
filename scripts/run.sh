#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds what changed, registers the stand-in
# simulator when no simulator is registered, and starts Corvane, which finds
# the simulator or starts it. Arguments are passed on to corvane (--help).
# CORVANE_BUILD_DIR chooses another build folder than build/.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${CORVANE_BUILD_DIR:-build}"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "run.sh: there is no display to show the windows on. Run it under a virtual X server:" >&2
  echo "    xvfb-run -a -s '-screen 0 1280x1024x24' scripts/run.sh" >&2
  exit 2
fi

if ! log=$(scripts/build.sh "$dir" 2>&1); then
  echo "$log" >&2
  echo "run.sh: the build failed" >&2
  exit 1
fi

# The registry entry that names the simulator's program (see docs/registry.md).
key='HKEY_LOCAL_MACHINE\Software\CLASSES\flight simulator'
registered=$("$dir"/bin/corvane-registry get "$key" defaulticon 2>/dev/null || true)
if [ -z "$registered" ] || [ ! -x "${registered%,*}" ]; then
  sim="$(cd "$dir" && pwd)/fs98/fltsim98.exe"
  "$dir"/bin/corvane-registry set "$key" defaulticon "$sim,1"
  echo "run.sh: registered the stand-in simulator $sim in $("$dir"/bin/corvane-registry where)"
fi

exec "$dir"/bin/corvane "$@"
