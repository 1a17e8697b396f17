#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Takes the picture of Corvane's map inside FlightGear's window for
# docs/flightgear.md: a virtual X screen, the stand-in with FlightGear in its
# own window (drawing its scenery in software: slow, a few frames a second),
# Corvane attached to it, and the whole screen saved once the map shows.
# Needs FlightGear (scripts/flightgear.sh installs it), Xvfb, xwd (x11-apps)
# and python3 (turns xwd's dump of the screen into a PNG).
# Usage: scripts/flightgear-screenshot.sh [BUILD_DIR] [OUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
out="${2:-docs/flightgear-corvane.png}"
for tool in Xvfb xwd python3 xwininfo; do
  command -v "$tool" >/dev/null || { echo "flightgear-screenshot.sh: needs $tool" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/corvane-fg-shot-XXXXXX")
pids=()
cleanup() { for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done; sleep 2; [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"; }
trap cleanup EXIT

display=:$((90 + RANDOM % 100))
while [ -e "/tmp/.X11-unix/X${display#:}" ]; do display=:$((90 + RANDOM % 100)); done
Xvfb "$display" -screen 0 1280x800x24 >"$work/xvfb.log" 2>&1 &
pids+=($!)
sleep 2
export DISPLAY=$display
export CORVANE_DESKTOP="$work/desktop" XDG_RUNTIME_DIR="$work/runtime"
export CORVANE_REGISTRY="$work/registry.ini"
mkdir -p "$CORVANE_DESKTOP" "$XDG_RUNTIME_DIR"
chmod 700 "$CORVANE_DESKTOP" "$XDG_RUNTIME_DIR"
"$dir"/bin/corvane-registry set 'HKEY_LOCAL_MACHINE\Software\CLASSES\flight simulator' \
  defaulticon "$(cd "$dir" && pwd)/fs98/fltsim98.exe,1" >/dev/null

# A small window with the cheapest drawing: software rendering of the full
# scenery at a large size takes FlightGear over a minute a frame here.
"$dir"/fs98/fltsim98.exe --backend flightgear --fg-window --fg-log "$work/fgfs.log" \
  --fg-option=--geometry=800x560 --fg-option=--prop:/sim/rendering/shaders/quality-level=0 \
  --fg-option=--fog-fastest --fg-option=--disable-clouds \
  --fg-option=--prop:/sim/rendering/draw-mask/models=false \
  --airport PHNL --runway 08L --final 3 >"$work/fltsim98.log" 2>&1 &
pids+=($!)
echo "waiting for FlightGear's window (a minute or two)..."
for _ in $(seq 1 400); do
  grep -q "is the simulator's window" "$work/fltsim98.log" && break
  sleep 1
done
grep -q "is the simulator's window" "$work/fltsim98.log" ||
  { cat "$work/fltsim98.log" >&2; echo "flightgear-screenshot.sh: FlightGear's window did not show" >&2; exit 1; }
sleep 90  # FlightGear's flight model starts and its scenery loads
"$dir"/bin/corvane >"$work/corvane.log" 2>&1 &
pids+=($!)
sleep 15  # Corvane attaches and draws its map
xwd -root -silent >"$work/screen.xwd"
# xwd's dump (24 or 32 bits a pixel, TrueColor) as a PNG.
python3 - "$work/screen.xwd" "$out" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
h = struct.unpack(">25I", data[:100])
size, width, height = h[0], h[4], h[5]
order, bpp, line = h[7], h[11], h[12]
masks, ncolors = h[14:17], h[19]
if bpp not in (24, 32):
    sys.exit("xwd dump with %d bits a pixel" % bpp)
n = bpp // 8
pixels = data[size + 12 * ncolors:]
shift = [(m & -m).bit_length() - 1 for m in masks]
rows = bytearray()
for y in range(height):
    rows.append(0)
    for x in range(width):
        v = int.from_bytes(pixels[y * line + n * x:y * line + n * x + n],
                           "little" if order == 0 else "big")
        rows += bytes((v & m) >> s for m, s in zip(masks, shift))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b"")
open(sys.argv[2], "wb").write(png)
PY
echo "saved $out"
