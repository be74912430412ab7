#!/usr/bin/env bash
# Builds the editor benchmark (Release) and writes its tables to bench/results.md: the editor
# against a plain QPlainTextEdit on generated 1, 10, 100 and 1024 MB documents and a 10 MB line
# (the 1 GB document is written at the first run and kept in the build folder, never committed;
# the baseline is not run on it), then F3, Replace all and the status bar on 100 MB, then the
# encodings (100 MB of UTF-8 against the same lines as 8-bit text, Cyrillic and CJK text).
# "encodings" or "findnext" measures that table alone; with input labels given ("1 GB"), only
# those are measured and the table goes to results-partial.md in the build folder instead.
# Usage: bash tools/bench.sh [build-folder [encodings | findnext | INPUT-LABEL...]]
#   (default build-bench)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build-bench}
shift || true
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target quenwrite_bench find_next_100mb -j2
findNext() {
    QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} \
        "$build/bench/find_next_100mb" "$repo/bench/results.md" >/dev/null
}
if [ "${1:-}" = encodings ]; then
    QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} \
        "$build/bench/quenwrite_bench" encodings "$build/bench-data" "$repo/bench/results.md"
    exit 0
fi
if [ "${1:-}" = findnext ]; then
    findNext
    exit 0
fi
table=$repo/bench/results.md
[ $# -gt 0 ] && table=$build/results-partial.md
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} \
    "$build/bench/quenwrite_bench" "$build/bench-data" "$table" "$@"
# F3, Replace all and the status bar: a section of their own, ahead of the encodings table.
[ $# -gt 0 ] || findNext
