#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Copyright (C) 2026 the Talvensa developers
# Builds the fuzz targets with clang and runs each for the given number of seconds.
#
#   tests/fuzz/run-fuzzers.sh SECONDS [TARGET...]     (default: every target)
#
# Each target starts from its committed seed corpus (tests/fuzz/corpus/<target>) and keeps what it
# finds in <build>/fuzz-corpus/<target>, so later runs go on from there. A crash, leak, slow input
# (more than 5 s for one input) or memory blow-up is written to <build>/fuzz-artifacts/<target>/ and
# counts as a failure. Prints per target the executions, the crashes and the corpus size, then
# one closing line "fuzz: N passed, M failed"; exits 1 when a target failed.
#
# Environment: FUZZ_BUILD_DIR (default build-fuzz), FUZZ_JOBS (targets run side by side,
# default 1), FUZZ_SEED (a fixed random seed, so that a short run explores the same inputs each
# time; default: a new seed every run). Runs under `nice -n 19`, so it leaves the processor to
# anything else.
set -euo pipefail
cd "$(dirname "$0")/../.."

if [ $# -lt 1 ] || ! [[ "$1" =~ ^[0-9]+$ ]]; then
    echo "usage: $0 SECONDS [TARGET...]" >&2
    exit 2
fi
seconds=$1
shift

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz: clang++ not found, fuzz targets not run"
    exit 0
fi

build=${FUZZ_BUILD_DIR:-build-fuzz}
jobs=${FUZZ_JOBS:-1}
mkdir -p "$build"
if ! { CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTALVENSA_FUZZ=ON && cmake --build "$build" --target fuzzers -j"$(nproc)"; } \
    >"$build/fuzz-build.log" 2>&1; then
    cat "$build/fuzz-build.log"
    echo "fuzz: the fuzz targets did not build"
    exit 1
fi

if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for exe in "$build"/tests/fuzz/fuzz_*; do
        [ -f "$exe" ] && [ -x "$exe" ] && targets+=("${exe##*/fuzz_}")
    done
fi

run_target() {
    local name=$1
    local exe="$build/tests/fuzz/fuzz_$name"
    local seeds="tests/fuzz/corpus/$name"
    local work="$build/fuzz-corpus/$name"
    local artifacts="$build/fuzz-artifacts/$name"
    local log="$build/fuzz-logs/$name.log"
    mkdir -p "$work" "$artifacts" "$(dirname "$log")"
    local before
    before=$(find "$artifacts" -type f | wc -l)
    local dict=()
    [ -f "tests/fuzz/$name.dict" ] && dict=(-dict="tests/fuzz/$name.dict")
    local seed=()
    [ -n "${FUZZ_SEED:-}" ] && seed=(-seed="$FUZZ_SEED")
    local status=0
    nice -n 19 "$exe" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
        -max_len=8192 -print_final_stats=1 -artifact_prefix="$artifacts/" "${dict[@]}" "${seed[@]}" \
        "$work" "$seeds" >"$log" 2>&1 || status=$?
    local after
    after=$(find "$artifacts" -type f | wc -l)
    local executions corpus
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    # The fuzzer's own count of the inputs it keeps, from its last status line.
    corpus=$(grep -o 'corp: [0-9]*/[0-9]*[a-zA-Z]*' "$log" | tail -1 | sed 's/corp: //')
    local crashes=$((after - before))
    if [ "$status" -ne 0 ] && [ "$crashes" -eq 0 ]; then
        crashes=1 # ended abnormally without leaving an input behind
    fi
    printf '%-16s %8ss %12s %8s %14s  %s\n' "$name" "$seconds" "${executions:-?}" \
        "$crashes" "${corpus:-?}" "$log" >"$build/fuzz-logs/$name.result"
    [ "$crashes" -eq 0 ]
}

printf '%-16s %9s %12s %8s %14s  %s\n' target time executions crashes corpus log
failed=0
passed=0
pids=()
names=()
for name in "${targets[@]}"; do
    run_target "$name" &
    pids+=($!)
    names+=("$name")
    if [ "${#pids[@]}" -ge "$jobs" ]; then
        for i in "${!pids[@]}"; do
            if wait "${pids[$i]}"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
            cat "$build/fuzz-logs/${names[$i]}.result"
        done
        pids=()
        names=()
    fi
done
for i in "${!pids[@]}"; do
    if wait "${pids[$i]}"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
    cat "$build/fuzz-logs/${names[$i]}.result"
done

for name in "${targets[@]}"; do
    for artifact in "$build/fuzz-artifacts/$name"/*; do
        [ -f "$artifact" ] && echo "fuzz: $name left $artifact (see $build/fuzz-logs/$name.log)"
    done
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
