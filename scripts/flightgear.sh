#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Flies Corvane against FlightGear on this desktop: installs FlightGear and
# what the build needs (apt-get), builds, starts the stand-in simulator with
# FlightGear behind it in FlightGear's own window, and starts Corvane, which
# finds the running simulator and places its round map inside FlightGear's
# window. Arguments go to fltsim98.exe and say where the Cessna starts
# (default: 10 nm out on final to Honolulu 08L); see fltsim98.exe --help.
#
#     scripts/flightgear.sh
#     scripts/flightgear.sh --airport BIKF --runway 20 --final 12 --wind 200/10
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${CORVANE_BUILD_DIR:-build}"

if [ -z "${DISPLAY:-}" ]; then
  echo "flightgear.sh: FlightGear and Corvane need an X display (DISPLAY is not set)" >&2
  exit 2
fi
scripts/install-deps.sh flightgear flightgear-data-base dbus x11-utils
scripts/build.sh "$dir" >/dev/null

[ $# -eq 0 ] && set -- --airport PHNL --runway 08L --final 10
"$dir"/fs98/fltsim98.exe --backend flightgear --fg-window "$@" &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
# Corvane attaches to the simulator once FlightGear's window is the
# simulator's window (FlightGear takes half a minute or more to load).
for _ in $(seq 1 300); do
  kill -0 $sim 2>/dev/null || { echo "flightgear.sh: the simulator ended" >&2; exit 1; }
  [ -n "$(xwininfo -root -children 2>/dev/null | grep '"FlightGear')" ] && break
  sleep 1
done
sleep 2
"$dir"/bin/corvane
