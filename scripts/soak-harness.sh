#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Soak of the whole program in one process: corvane-harness flies the scenario
# set again and again for MINUTES while its resident memory and open
# descriptors are sampled.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/soak-lib.sh

if [ "${1:-}" = "-h" ] || [ "${1:-}" = "--help" ]; then
    cat <<USAGE
Usage: scripts/soak-harness.sh [MINUTES] [OUT_DIR]

Flies tests/scenarios/ in a loop with build/bin/corvane-harness --no-draw for
MINUTES (default 60) in one process, sampling its resident memory (VmRSS) and
open file descriptors every 10 s into OUT_DIR/harness-samples.tsv (default
OUT_DIR: soak-out/), then prints the first, last and largest samples and plots
memory against time as OUT_DIR/soak-harness.png (needs gnuplot).
CORVANE_BUILD_DIR chooses another build folder than build/.
USAGE
    exit 0
fi
minutes=${1:-60}
out=${2:-soak-out}
dir="${CORVANE_BUILD_DIR:-build}"
[[ "$minutes" =~ ^[0-9]+([.][0-9]+)?$ ]] || { echo "soak-harness.sh: MINUTES must be a number" >&2; exit 2; }
[ -x "$dir/bin/corvane-harness" ] || { echo "soak-harness.sh: build $dir/bin/corvane-harness first (scripts/build.sh)" >&2; exit 2; }
mkdir -p "$out"
samples="$out/harness-samples.tsv"

"$dir/bin/corvane-harness" --no-draw --quiet --repeat-for "$minutes" --reports "$out/harness-reports" \
    tests/scenarios >"$out/harness.log" 2>&1 &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
start=$(date +%s)
echo "# seconds rss_kb fds (corvane-harness, pid $pid, started $(date -u +%FT%TZ))" >"$samples"
while kill -0 "$pid" 2>/dev/null; do
    now=$(date +%s)
    s=$(sample_process "$pid")
    [ "${s%% *}" != 0 ] && echo "$((now - start)) $s" >>"$samples"
    sleep 10
done
wait "$pid" && status=0 || status=$?
trap - EXIT
echo "corvane-harness ended with status $status after $(( $(date +%s) - start )) s (see $out/harness.log)"
summarise_samples "$samples" 300
plot_samples "$samples" "$out/soak-harness.png" "corvane-harness flying the scenario set in a loop" "2:corvane-harness"
