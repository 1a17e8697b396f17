#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Flies FlightGear's Cessna 172P with the whole program: installs FlightGear
# and what the build needs (apt-get), builds the harness, and flies one
# scenario (default: Honolulu 08L from 10 nm out) with "fly there and land"
# against FlightGear on a virtual screen. Fails unless the landing is good by
# the harness's six runway limits (the laws do not yet meet the pilot's
# limits: touchdown speed, bounces, main wheels first; the report gives them).
# Not part of CI: FlightGear's data is over a gigabyte.
#
# Usage: tests/flightgear/run.sh [--speed-up N] [SCENARIO.json...]
#   reports, FlightGear's log and the flight's trace go to build/flightgear-reports
set -euo pipefail
cd "$(dirname "$0")/../.."

harness_args=()
scenarios=()
while [ $# -gt 0 ]; do
  case "$1" in
    --speed-up) harness_args+=(--speed-up "$2"); shift 2 ;;
    -h|--help) sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) scenarios+=("$1"); shift ;;
  esac
done
[ ${#scenarios[@]} -eq 0 ] && scenarios=(tests/flightgear/scenarios/phnl-08l-10nm.json)

scripts/install-deps.sh flightgear flightgear-data-base dbus
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target corvane-harness -j "$(nproc)"

reports=build/flightgear-reports
mkdir -p "$reports"
build/bin/corvane-harness --simulator flightgear --no-draw --reports "$reports" \
  --trace "$reports/trace" --min-runway-rate 1 "${harness_args[@]}" "${scenarios[@]}"
