#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
#
# A landing campaign on a Slurm cluster: the shards of
# `corvane-harness --random N --seed SEED` as one array job, and the merge of
# their reports as a job that runs once every shard has ended well.
#
#   scripts/campaign-slurm.sh [options] N SEED SHARDS
#
# Every node needs the harness and its data at the same path, and the
# reports folder on a file system that every node and the merge job see.
# Prints the two job ids; the merged results go to REPORTS/merged.
set -euo pipefail

usage() {
    cat <<'USAGE'
usage: scripts/campaign-slurm.sh [options] N SEED SHARDS

Submits the SHARDS shards of the campaign `corvane-harness --random N --seed
SEED` as one Slurm array job (sbatch --array), each shard flying every
SHARDS-th flight into REPORTS/shard-K, and a merge job that depends on it
(afterok) writing REPORTS/merged. Prints the array job's id and the merge
job's id.

Options:
  --reports DIR     the campaign's folder, shared by every node
                    (default: campaign-N-SEED in the current folder)
  --harness PATH    corvane-harness as every node finds it (default: the
                    one on PATH, else build/bin/corvane-harness)
  --partition P     the Slurm partition (default: the cluster's default)
  --time LIMIT      each shard's time limit, as sbatch --time takes it
  --help            this text

Any further options after "--" go to every shard's corvane-harness
(for example -- --aircraft single).
USAGE
}

reports=""
harness=""
partition=""
timeLimit=""
positional=()
extra=()
while [ $# -gt 0 ]; do
    case "$1" in
        --help|-h) usage; exit 0 ;;
        --reports) reports="${2:?--reports needs a folder}"; shift 2 ;;
        --harness) harness="${2:?--harness needs a path}"; shift 2 ;;
        --partition) partition="${2:?--partition needs a name}"; shift 2 ;;
        --time) timeLimit="${2:?--time needs a limit}"; shift 2 ;;
        --) shift; extra=("$@"); break ;;
        -*) echo "campaign-slurm.sh: unknown option $1" >&2; usage >&2; exit 2 ;;
        *) positional+=("$1"); shift ;;
    esac
done
if [ ${#positional[@]} -ne 3 ]; then
    usage >&2
    exit 2
fi
flights="${positional[0]}"
seed="${positional[1]}"
shards="${positional[2]}"
for value in "$flights" "$seed" "$shards"; do
    case "$value" in
        ''|*[!0-9]*) echo "campaign-slurm.sh: N, SEED and SHARDS are whole numbers, not '$value'" >&2; exit 2 ;;
    esac
done
if [ "$shards" -lt 1 ] || [ "$flights" -lt 1 ]; then
    echo "campaign-slurm.sh: N and SHARDS must be at least 1" >&2
    exit 2
fi
command -v sbatch >/dev/null || {
    echo "campaign-slurm.sh: sbatch not found: this needs a Slurm cluster (Debian: slurm-client)" >&2
    exit 1
}
if [ -z "$harness" ]; then
    harness="$(command -v corvane-harness || true)"
    [ -n "$harness" ] || harness="$(cd "$(dirname "$0")/.." && pwd)/build/bin/corvane-harness"
fi
[ -x "$harness" ] || { echo "campaign-slurm.sh: $harness: no corvane-harness there" >&2; exit 1; }
reports="${reports:-campaign-$flights-$seed}"
mkdir -p "$reports"
reports="$(cd "$reports" && pwd)"

common=(--parsable --job-name "corvane-campaign-$flights-$seed")
[ -n "$partition" ] && common+=(--partition "$partition")

# One shard per array task: flights K, K+SHARDS, ... into shard-K.
shardArgs=("${common[@]}" --array "0-$((shards - 1))" --output "$reports/slurm-shard-%a.out")
[ -n "$timeLimit" ] && shardArgs+=(--time "$timeLimit")
quotedExtra=""
for e in "${extra[@]+"${extra[@]}"}"; do quotedExtra+=" $(printf '%q' "$e")"; done
arrayJob="$(sbatch "${shardArgs[@]}" --wrap "$(printf '%q' "$harness") --no-draw --quiet \
--random $flights --seed $seed --shard \$SLURM_ARRAY_TASK_ID/$shards \
--reports $(printf '%q' "$reports")/shard-\$SLURM_ARRAY_TASK_ID$quotedExtra")"
arrayJob="${arrayJob%%;*}"

folders=""
for ((k = 0; k < shards; k++)); do folders+=" $(printf '%q' "$reports/shard-$k")"; done
mergeJob="$(sbatch "${common[@]}" --dependency "afterok:$arrayJob" \
    --output "$reports/slurm-merge.out" \
    --wrap "$(printf '%q' "$harness") --quiet --merge$folders --reports $(printf '%q' "$reports")/merged")"
mergeJob="${mergeJob%%;*}"
echo "shards: job $arrayJob ($shards tasks); merge: job $mergeJob; results: $reports/merged"
