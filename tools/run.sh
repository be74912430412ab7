#!/usr/bin/env bash
# Installs what is missing, builds the Linux editor in build/ and starts it, with the file named
# as its argument if there is one.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
"$repo/tools/install-deps.sh"
cmake -S "$repo" -B "$repo/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$repo/build" --target quenwrite -j"$(nproc)"
exec "$repo/build/quenwrite" "$@"
