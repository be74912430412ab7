#!/usr/bin/env bash
# Installs what is missing, builds the Linux and Windows targets from nothing and runs every test:
# the unit tests, the user-level tests of the real program (tools/test-desktop.sh), the Windows
# executable check and the package check.
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
failed=()
step() { echo; echo "=== $*"; }

"$repo/tools/install-deps.sh" || exit 1

step "Formatting (.clang-format)"
(cd "$repo" && git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror) ||
    failed+=("formatting")

step "Include arrows (tools/check-includes.sh)"
"$repo/tools/check-includes.sh" || failed+=("includes")

step "Linux build and tests (build/)"
rm -rf "$repo/build"
if cmake -S "$repo" -B "$repo/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
    cmake --build "$repo/build" -j"$jobs"; then
    (cd "$repo/build" && QT_QPA_PLATFORM=offscreen ctest -j"$jobs" --output-on-failure) ||
        failed+=("tests")
    # The real program under a virtual X display, bare and under a window manager.
    "$repo/tools/test-desktop.sh" "$repo/build/quenwrite" || failed+=("desktop tests")
    # The test seam is linked into the tests and benchmarks only, never into the program.
    if nm -C "$repo/build/quenwrite" | grep -q "platform::testing::"; then
        echo "The program contains test seam code."
        failed+=("seam in program")
    fi
else
    failed+=("Linux build")
fi

step "Linux tests under AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/)"
"$repo/tools/test-sanitized.sh" "$repo/build-asan" || failed+=("sanitized tests")

step "Fuzzers, 30 s each (build-fuzz/)"
"$repo/tools/fuzz.sh" all 30 || failed+=("fuzzers")

step "Windows build and executable check (build-windows/)"
"$repo/tools/check-windows.sh" "$repo/build-windows" || failed+=("Windows build")

step "Package check"
"$repo/tools/check-package.sh" "$repo/build" || failed+=("packages")

echo
if [ ${#failed[@]} -gt 0 ]; then
    echo "FAILED: ${failed[*]}"
    exit 1
fi
echo "All checks passed."
