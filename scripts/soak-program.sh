#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Soak of the real program against the real stand-in process: fltsim98.exe and
# corvane run under Xvfb for MINUTES while the resident memory and open
# descriptors of both are sampled.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/soak-lib.sh

if [ "${1:-}" = "-h" ] || [ "${1:-}" = "--help" ]; then
    cat <<USAGE
Usage: scripts/soak-program.sh [MINUTES] [OUT_DIR]

Starts a virtual X server (Xvfb), the stand-in simulator build/fs98/fltsim98.exe
in its window and corvane inside it, on a desktop directory and registry file of
their own, and lets them run for MINUTES (default 60): the simulator flies, the
program keeps its map, readouts and link busy. Every 10 s the resident memory
(VmRSS) and open file descriptors of both are written to
OUT_DIR/program-samples.tsv (default OUT_DIR: soak-out/); at the end the first,
last and largest samples are printed and memory is plotted against time as
OUT_DIR/soak-program.png (needs gnuplot). CORVANE_BUILD_DIR chooses another
build folder than build/. A picture of the screen three seconds after corvane's
start-up is kept as OUT_DIR/soak-program-screen.png.
USAGE
    exit 0
fi
minutes=${1:-60}
out=${2:-soak-out}
dir="$(cd "${CORVANE_BUILD_DIR:-build}" && pwd)"
[[ "$minutes" =~ ^[0-9]+([.][0-9]+)?$ ]] || { echo "soak-program.sh: MINUTES must be a number" >&2; exit 2; }
for f in bin/corvane fs98/fltsim98.exe bin/corvane-registry; do
    [ -x "$dir/$f" ] || { echo "soak-program.sh: build $dir/$f first (scripts/build.sh)" >&2; exit 2; }
done
command -v Xvfb >/dev/null || { echo "soak-program.sh: Xvfb is missing (scripts/install-deps.sh)" >&2; exit 2; }
mkdir -p "$out"
out="$(cd "$out" && pwd)"
samples="$out/program-samples.tsv"

scratch=$(mktemp -d /tmp/corvane-soak-XXXXXX)
export CORVANE_DESKTOP="$scratch/desktop"
export CORVANE_REGISTRY="$scratch/registry.ini"
"$dir/bin/corvane-registry" set 'HKEY_LOCAL_MACHINE\Software\CLASSES\flight simulator' \
    defaulticon "$dir/fs98/fltsim98.exe,1" >/dev/null

pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" >"$out/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    [ -s "$scratch/display" ] && break
    sleep 0.1
done
[ -s "$scratch/display" ] || { echo "soak-program.sh: Xvfb did not start (see $out/xvfb.log)" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$scratch/display")"

"$dir/fs98/fltsim98.exe" >"$out/fltsim98.log" 2>&1 &
sim=$!
pids+=($sim)
for _ in $(seq 100); do
    ls "$CORVANE_DESKTOP"/*.win >/dev/null 2>&1 && break
    sleep 0.1
done
(cd "$dir/bin" && exec ./corvane --screenshot "$out/soak-program-screen.png") >"$out/corvane.log" 2>&1 &
program=$!
pids+=($program)

start=$(date +%s)
end=$((start + $(awk -v m="$minutes" 'BEGIN { printf "%d", m * 60 }')))
echo "# seconds corvane_rss_kb corvane_fds fltsim98_rss_kb fltsim98_fds (started $(date -u +%FT%TZ))" >"$samples"
while [ "$(date +%s)" -lt "$end" ]; do
    kill -0 "$program" 2>/dev/null || { echo "soak-program.sh: corvane ended early (see $out/corvane.log)" >&2; break; }
    kill -0 "$sim" 2>/dev/null || { echo "soak-program.sh: fltsim98.exe ended early (see $out/fltsim98.log)" >&2; break; }
    echo "$(( $(date +%s) - start )) $(sample_process "$program") $(sample_process "$sim")" >>"$samples"
    sleep 10
done
echo "ran $(( $(date +%s) - start )) s"
summarise_samples "$samples" 300
plot_samples "$samples" "$out/soak-program.png" "corvane and fltsim98.exe under Xvfb" \
    "2:corvane" "4:fltsim98.exe"
