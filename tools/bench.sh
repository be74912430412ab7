#!/usr/bin/env bash
# Builds the editor benchmark (Release) and writes its table to bench/results.md: the editor
# against a plain QPlainTextEdit on generated 1, 10 and 100 MB documents and a 10 MB line.
# Usage: bash tools/bench.sh [build-folder]   (default build-bench; the inputs stay there)
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build-bench}
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target quenwrite_bench -j2
QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} \
    "$build/bench/quenwrite_bench" "$build/bench-data" "$repo/bench/results.md"
