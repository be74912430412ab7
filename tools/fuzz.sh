#!/usr/bin/env bash
# Builds the fuzzers (fuzz/, clang 14 with libFuzzer, AddressSanitizer and UBSan) in build-fuzz/
# and runs one of them, or all, for a number of seconds each. A run starts from the seeds in
# fuzz/corpus/<target>/ and the inputs earlier runs in this folder found; new inputs stay in
# build-fuzz/corpus/<target>/, and an input that breaks a property is kept in
# build-fuzz/artifacts/<target>/ and fails the run. tools/test.sh runs all for 30 s each.
# Usage: tools/fuzz.sh <text_bytes|settings_text|text_store|text_search|recovery_file|all> [seconds, 60]
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=$repo/build-fuzz
targets=(text_bytes settings_text text_store text_search recovery_file)
which=${1:-}
seconds=${2:-60}

if [ "$which" = all ]; then
    chosen=("${targets[@]}")
elif [[ " ${targets[*]} " == *" $which "* ]]; then
    chosen=("$which")
else
    echo "usage: $0 <${targets[*]// /|}|all> [seconds]" >&2
    exit 2
fi

cmake -S "$repo/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null &&
    cmake --build "$build" -j2 || exit 1

# One fuzzer; its log goes to build-fuzz/<target>.log, its summary to the terminal.
fuzz() {
    local target=$1 seeds=$repo/fuzz/corpus/$1 work=$build/corpus/$1 log=$build/$1.log
    local options=(-max_total_time="$seconds" -print_final_stats=1 -timeout=10
        -artifact_prefix="$build/artifacts/$target/")
    mkdir -p "$work" "$build/artifacts/$target"
    [ -f "$repo/fuzz/$target.dict" ] && options+=(-dict="$repo/fuzz/$target.dict")
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$build/${target}_fuzzer" "${options[@]}" "$work" "$seeds" >"$log" 2>&1
    local status=$?
    local runs speed corpus
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    corpus=$(grep -o 'DONE .*corp: [0-9]*/[^ ]*' "$log" | sed 's/.*corp: //')
    if [ $status -eq 0 ]; then
        echo "$target: ${runs:-?} runs, ${speed:-?}/s, corpus ${corpus:-?} (inputs/bytes)," \
            "$(ls "$seeds" | wc -l) seeds"
    else
        echo "$target: FAILED (see $log and $build/artifacts/$target/)"
        grep -m1 -E "property failed|ERROR: |runtime error" "$log"
    fi
    return $status
}

# Two at a time: one per core.
failed=0
pids=()
for target in "${chosen[@]}"; do
    fuzz "$target" &
    pids+=($!)
    if [ ${#pids[@]} -eq 2 ]; then
        for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
        pids=()
    fi
done
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done
exit $failed
