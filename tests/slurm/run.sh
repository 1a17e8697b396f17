#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
#
# A one-node Slurm cluster on this machine flies a landing campaign in
# shards: installs Slurm and munge when they are missing, starts munged (on
# a socket of the test's own), slurmctld and slurmd bound to the loopback
# address alone (checked before any job goes in), submits 4 shards
# of a 200-flight campaign with scripts/campaign-slurm.sh, waits for the
# merge, flies the same campaign on this machine in one run, and fails unless
# the two agree flight for flight. Stops everything it started, however it
# ends. Needs root (apt-get, the daemons).
#
#   tests/slurm/run.sh [BUILD_DIR]      (default: build)
set -euo pipefail
cd "$(dirname "$0")/../.."
root="$PWD"
build="${1:-build}"
flights="${CORVANE_SLURM_FLIGHTS:-200}"
seed=1
shards=4

fail() { echo "tests/slurm: $*" >&2; exit 1; }

[ "$(id -u)" = 0 ] || fail "needs root (apt-get, the daemons)"
missing=()
for p in slurmctld:slurmctld slurmd:slurmd sbatch:slurm-client munged:munge ss:iproute2; do
    command -v "${p%%:*}" >/dev/null || missing+=("${p#*:}")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "tests/slurm: installing ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get install -y slurm-wlm munge iproute2 >/dev/null ||
        fail "apt-get install slurm-wlm munge iproute2 failed"
fi
if [ ! -x "$build/bin/corvane-harness" ]; then
    cmake -S . -B "$build" -G Ninja >/dev/null
    cmake --build "$build" -j 2 --target corvane-harness navdata_files
fi

work="$(mktemp -d /tmp/corvane-slurm-XXXXXX)"
chmod 700 "$work"
pids=()
cleanup() {
    status=$?
    # Jobs still running go first (their steps would outlive the daemons).
    if [ -n "${SLURM_CONF:-}" ]; then
        jobs="$(squeue -h -o %i 2>/dev/null || true)"
        [ -z "$jobs" ] || { scancel $jobs 2>/dev/null || true; sleep 2; }
    fi
    for pid in "${pids[@]+"${pids[@]}"}"; do kill "$pid" 2>/dev/null || true; done
    sleep 1
    for pid in "${pids[@]+"${pids[@]}"}"; do kill -9 "$pid" 2>/dev/null || true; done
    if [ $status -ne 0 ]; then
        for log in "$work"/*.log; do
            [ -f "$log" ] && { echo "--- $log"; tail -20 "$log"; }
        done
    fi
    rm -rf "$work"
    exit $status
}
trap cleanup EXIT INT TERM

# munge: a key and a socket of the test's own.
mkdir -p "$work/munge"
chmod 700 "$work/munge"
head -c 1024 /dev/urandom >"$work/munge/munge.key"
chmod 400 "$work/munge/munge.key"
munged --force --foreground --key-file="$work/munge/munge.key" \
    --socket="$work/munge/munge.socket" --pid-file="$work/munge/munged.pid" \
    --log-file="$work/munged.log" --seed-file="$work/munge/munge.seed" >>"$work/munged.log" 2>&1 &
pids+=($!)

mkdir -p "$work/state" "$work/spool"
conf="$work/slurm.conf"
cat >"$conf" <<CONF
ClusterName=corvane-test
SlurmctldHost=localhost(127.0.0.1)
SlurmctldPort=16817
SlurmdPort=16818
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$work/munge/munge.socket
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/slurmctld.log
SlurmdLogFile=$work/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
SchedulerType=sched/backfill
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
MpiDefault=none
ReturnToService=2
# Bound to the address localhost resolves to (127.0.0.1), not to every one.
CommunicationParameters=NoCtldInAddrAny,NoInAddrAny
NodeName=localhost NodeAddr=127.0.0.1 CPUs=$(nproc) State=UNKNOWN
PartitionName=campaign Nodes=localhost Default=YES MaxTime=INFINITE State=UP
CONF
export SLURM_CONF="$conf"
for _ in $(seq 50); do [ -S "$work/munge/munge.socket" ] && break; sleep 0.1; done
[ -S "$work/munge/munge.socket" ] || fail "munged did not start"
slurmctld -D -f "$conf" >>"$work/slurmctld.log" 2>&1 &
pids+=($!)
slurmd -D -N localhost -f "$conf" >>"$work/slurmd.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    sinfo -h -o %T 2>/dev/null | grep -qE '^(idle|mixed|allocated)' && break
    sleep 0.3
done
sinfo -h -o %T | grep -qE '^(idle|mixed|allocated)' || fail "the node did not come up: $(sinfo 2>&1)"
echo "tests/slurm: one-node cluster up ($(sinfo -h -o '%N %c CPUs %T'))"
listening="$(ss -Hltn "( sport = :16817 or sport = :16818 )" | awk '{print $4}')"
echo "tests/slurm: listening on $(echo $listening)"
[ -n "$listening" ] || fail "slurmctld and slurmd listen on neither port"
if echo "$listening" | grep -qv '^127\.0\.0\.1:'; then
    fail "the daemons listen beyond the loopback interface: $listening"
fi

reports="$work/campaign"
submitted="$(scripts/campaign-slurm.sh --reports "$reports" --harness "$root/$build/bin/corvane-harness" \
    "$flights" "$seed" "$shards")"
echo "tests/slurm: $submitted"
start=$SECONDS
while [ -n "$(squeue -h -o %i 2>/dev/null)" ]; do
    [ $((SECONDS - start)) -lt 3600 ] || fail "the campaign did not end within an hour"
    sleep 2
done
[ -f "$reports/merged/summary.json" ] ||
    fail "no merged summary: $(cat "$reports"/slurm-*.out 2>/dev/null | tail -20)"
echo "tests/slurm: shards and merge done in $((SECONDS - start)) s"

echo "tests/slurm: the same campaign in one run on this machine"
"$build/bin/corvane-harness" --no-draw --quiet -j 2 --random "$flights" --seed "$seed" \
    --reports "$work/one" >/dev/null

# Flight for flight: every report's figures equal, the timings aside; and the
# summaries equal but for their wall-clock figures.
python3 - "$reports/merged" "$work/one" <<'PY'
import json, os, sys
merged, one = sys.argv[1], sys.argv[2]
timing = {"wallTimeS", "speedUp", "overallSpeedUp", "totalWallS"}
def strip(v):
    if isinstance(v, dict):
        return {k: strip(x) for k, x in v.items()
                if k not in timing and not (isinstance(x, dict) and k == "speedUp")}
    if isinstance(v, list):
        return [strip(x) for x in v]
    return v
def reports(folder):
    return sorted(f for f in os.listdir(folder)
                  if f.endswith(".json") and f not in ("summary.json", "campaign.json"))
a, b = reports(merged), reports(one)
if a != b:
    sys.exit(f"the flights differ: {sorted(set(a) ^ set(b))[:5]}")
bad = [f for f in a if strip(json.load(open(os.path.join(merged, f)))) !=
       strip(json.load(open(os.path.join(one, f))))]
if bad:
    sys.exit(f"{len(bad)} flights differ, e.g. {bad[:3]}")
if strip(json.load(open(os.path.join(merged, "summary.json")))) != \
   strip(json.load(open(os.path.join(one, "summary.json")))):
    sys.exit("the summaries differ")
if sorted(os.listdir(os.path.join(merged, "failed"))) != sorted(os.listdir(os.path.join(one, "failed"))):
    sys.exit("the failed flights' scenario files differ")
print(f"tests/slurm: {len(a)} flights equal flight for flight, summaries equal")
PY
grep -E '^(success rate|by the six runway)' "$reports/merged/../slurm-merge.out" || true
echo "tests/slurm: passed"
