#!/usr/bin/env bash
# Builds the editor benchmark (Release) and writes its tables to bench/results.md: the editor
# against a plain QPlainTextEdit on generated 1, 10 and 100 MB documents and a 10 MB line, then
# the encodings (100 MB of UTF-8 against the same lines as 8-bit text, Cyrillic and CJK text).
# Usage: bash tools/bench.sh [build-folder] [encodings]
#   (default build-bench; the inputs stay there; "encodings" measures that table alone)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build-bench}
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target quenwrite_bench -j2
if [ "${2:-}" = encodings ]; then
    QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} \
        "$build/bench/quenwrite_bench" encodings "$build/bench-data" "$repo/bench/results.md"
else
    QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} \
        "$build/bench/quenwrite_bench" "$build/bench-data" "$repo/bench/results.md"
fi
