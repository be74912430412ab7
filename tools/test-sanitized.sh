#!/usr/bin/env bash
# Builds the Linux editor and its tests with AddressSanitizer and UndefinedBehaviorSanitizer
# (QUENWRITE_SANITIZE) in a folder of its own, from nothing, and runs the whole suite under them.
# Any leak, bad access or undefined operation in our code fails the run; tools/lsan.supp lists
# the system libraries' own leaks, which are ignored.
# Usage: tools/test-sanitized.sh [build folder, default build-asan]
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$repo/build-asan"}

# Also in effect while the build lists the test cases, which runs the test binary.
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
export LSAN_OPTIONS=suppressions=$repo/tools/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen

rm -rf "$build"
cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENWRITE_SANITIZE=ON
cmake --build "$build" -j2
cd "$build"
ctest -j2 --output-on-failure
