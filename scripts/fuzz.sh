#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the libFuzzer targets (clang, in build-fuzz/) and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(airdata coast serveblock link_answer window_file window_message registry aptdat navdat
         topojson scenario fglines)
ci_runs=5000

usage() {
    cat <<USAGE
Usage: scripts/fuzz.sh [TARGET|all] [SECONDS]
       scripts/fuzz.sh --ci
       scripts/fuzz.sh --list

Builds the fuzz targets with clang and -fsanitize=fuzzer,address,undefined in
build-fuzz/ (installing clang and libclang-rt-14-dev when missing) and runs
TARGET (default: all, one after the other) for SECONDS each (default 60).
Inputs found to reach new code are kept in build-fuzz/corpus/TARGET; the seeds
in tests/fuzz/corpus/TARGET are only read. A crash or a broken property stops
the run and leaves the input in build-fuzz/artifacts/ (make it a test in the
normal suite and add it to the seeds). Each run ends with libFuzzer's figures:
stat::number_of_executed_units (executions) and cov: (coverage).

  --ci    replay every seed of every target, then run each target for a fixed
          $ci_runs inputs from a fixed random seed; a finding fails the script
  --list  print the targets

Targets: ${targets[*]}
USAGE
}

install_clang() {
    local installed
    installed=$(dpkg-query -W -f='${Package} ${Status}\n' clang libclang-rt-14-dev 2>/dev/null || true)
    local missing=() p
    for p in clang libclang-rt-14-dev; do
        grep -qx "$p install ok installed" <<<"$installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -q
    $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}

build() {
    # Once the fuzz build is configured, what it needs is there.
    if [ ! -f build-fuzz/build.ninja ]; then
        scripts/install-deps.sh
        install_clang
    fi
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache
                                              -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCORVANE_FUZZ=ON "${launcher[@]}" >/dev/null
    cmake --build build-fuzz -j "$(nproc)" --target "$@"
}

known() {
    local t
    for t in "${targets[@]}"; do [ "$t" = "$1" ] && return 0; done
    return 1
}

run_ci() {
    build fuzz_targets
    mkdir -p build-fuzz/artifacts
    local t scratch
    for t in "${targets[@]}"; do
        echo "== $t: replaying $(ls tests/fuzz/corpus/$t | wc -l) seeds"
        build-fuzz/fuzz/fuzz_$t -artifact_prefix=build-fuzz/artifacts/$t- tests/fuzz/corpus/$t/* \
            >"build-fuzz/artifacts/$t-replay.log" 2>&1 ||
            { cat "build-fuzz/artifacts/$t-replay.log"; echo "fuzz.sh: $t failed on a seed"; exit 1; }
        scratch=$(mktemp -d)
        cp tests/fuzz/corpus/$t/* "$scratch"/
        echo "== $t: $ci_runs inputs"
        build-fuzz/fuzz/fuzz_$t -runs=$ci_runs -seed=1 -max_total_time=300 \
            -artifact_prefix=build-fuzz/artifacts/$t- "$scratch" >"build-fuzz/artifacts/$t-ci.log" 2>&1 ||
            { tail -n 60 "build-fuzz/artifacts/$t-ci.log"; rm -rf "$scratch"; echo "fuzz.sh: $t found a fault"; exit 1; }
        rm -rf "$scratch"
        grep -E "^#[0-9]+[[:space:]]+DONE" "build-fuzz/artifacts/$t-ci.log" || true
    done
}

run_timed() {
    local target=$1 seconds=$2 t
    local list=("${targets[@]}")
    [ "$target" != all ] && list=("$target")
    build $(for t in "${list[@]}"; do echo fuzz_$t; done)
    mkdir -p build-fuzz/artifacts
    for t in "${list[@]}"; do
        mkdir -p build-fuzz/corpus/$t
        echo "== $t for $seconds s"
        build-fuzz/fuzz/fuzz_$t -max_total_time="$seconds" -print_final_stats=1 \
            -artifact_prefix=build-fuzz/artifacts/$t- build-fuzz/corpus/$t tests/fuzz/corpus/$t
    done
}

case "${1:-all}" in
    -h|--help) usage ;;
    --list) printf '%s\n' "${targets[@]}" ;;
    --ci) run_ci ;;
    *)
        target=${1:-all}
        seconds=${2:-60}
        if [ "$target" != all ] && ! known "$target"; then
            echo "fuzz.sh: unknown target '$target' (see --list)" >&2
            exit 2
        fi
        [[ "$seconds" =~ ^[0-9]+$ ]] || { echo "fuzz.sh: SECONDS must be a whole number" >&2; exit 2; }
        run_timed "$target" "$seconds"
        ;;
esac
