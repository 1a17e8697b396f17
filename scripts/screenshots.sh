#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Retakes the pictures of the program's windows in docs/ at 100 % and 200 % scale
# (QT_SCALE_FACTOR 1 and 2; the 200 % ones end in -200.png) under a virtual X
# server of its own: the stand-in's window, Corvane's map and readouts inside it,
# the pop-up menu, the airport search, list and window with its details, a
# "fly there and land" flight (the landing directions, the approach, landed)
# and a message box.
# Usage: scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]   (default build/ and docs/)
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
out="$(mkdir -p "${2:-docs}" && cd "${2:-docs}" && pwd)"
command -v Xvfb >/dev/null || { echo "screenshots.sh: needs Xvfb (package xvfb)" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/corvane-screenshots-XXXXXX")
xvfb=""
sim_pid=""
cleanup() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A screen of 1280 x 1024 of Qt's pixels at each scale (the pop-up menu opens at
# its middle, inside the 1024 x 768 that the pictures show).
start_screen() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null || true
  # A display number that no other X server here holds.
  local n=$((90 + RANDOM % 100))
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  export DISPLAY=:$n
  Xvfb "$DISPLAY" -screen 0 "$((1280 * $1))x$((1024 * $1))x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
  xvfb=$!
  sleep 2
  kill -0 "$xvfb" 2>/dev/null || { cat "$work/xvfb.log" >&2; echo "screenshots.sh: Xvfb did not start on $DISPLAY" >&2; exit 1; }
}

export QT_QPA_PLATFORM=xcb
export CORVANE_DESKTOP="$work/desktop" XDG_RUNTIME_DIR="$work/runtime"
export CORVANE_REGISTRY="$work/registry.ini"
mkdir -p "$CORVANE_DESKTOP" "$XDG_RUNTIME_DIR"
chmod 700 "$CORVANE_DESKTOP" "$XDG_RUNTIME_DIR"  # the program trusts only a private desktop
"$dir"/bin/corvane-registry set 'HKEY_LOCAL_MACHINE\Software\CLASSES\flight simulator' \
  defaulticon "$(cd "$dir" && pwd)/fs98/fltsim98.exe,1" >/dev/null

simulator_pid() {
  grep -ls 'FS98MAIN' "$CORVANE_DESKTOP"/* 2>/dev/null | head -1 | xargs -r sed -n 's/^pid=//p' | head -1 || true
}

missing=0
for scale in 1 2; do
  suffix=""
  [ "$scale" = 2 ] && suffix="-200"
  export QT_SCALE_FACTOR=$scale
  start_screen "$scale"
  shots="$work/shots$scale"
  mkdir -p "$shots"

  # The stand-in alone, on a 3 nm final to Denver 16R.
  timeout 8 "$dir"/fs98/fltsim98.exe --airport KDEN --runway 16R --final 3 \
    --screenshot "$shots/fltsim98-window.png" >/dev/null 2>&1 || true

  # Corvane started on its own: it starts the stand-in and places its windows in it.
  timeout 25 "$dir"/bin/corvane --screenshot "$shots/corvane-in-fltsim98.png" >"$work/corvane.log" 2>&1 || true
  sim_pid=$(simulator_pid)
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
  sim_pid=""
  sleep 1

  # The pop-up menu, the airport windows, a flight and a message box, from the
  # tests that open them.
  CORVANE_SCREENSHOT_DIR="$shots" "$dir"/bin/ui_tests \
    --gtest_filter='QtProgramTest.*' >"$work/ui.log" 2>&1 || true
  CORVANE_SCREENSHOT_DIR="$shots" "$dir"/tests/airports/airports_ui_tests >"$work/airports.log" 2>&1 || true

  [ -s "$shots/menu-Mnu10miles.png" ] && cp "$shots/menu-Mnu10miles.png" "$shots/corvane-menu.png"
  for name in fltsim98-window corvane-in-fltsim98 corvane-menu airport-search airport-list \
              airport-window fly-there-runways fly-there-approach fly-there-landed message-box; do
    if [ -s "$shots/$name.png" ]; then
      cp "$shots/$name.png" "$out/$name$suffix.png"
      echo "$out/$name$suffix.png"
    else
      echo "screenshots.sh: $name at scale $scale was not taken" >&2
      missing=1
    fi
  done
  [ "$missing" = 1 ] && tail -n 15 "$work"/*.log >&2
done
exit "$missing"
