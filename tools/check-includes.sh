#!/usr/bin/env bash
# Fails on an include that points upward in the editor's tree: each folder may include only its
# own headers and those of the folders below it. Peers (document, format, search) include none of
# each other. Lowest first:
#   encoding, files, editor, ui, recovery, {document, format, search}, app
set -uo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
declare -A rank=([encoding]=0 [files]=1 [editor]=2 [ui]=3 [recovery]=4 [document]=5 [format]=5
                 [search]=5 [app]=6)
failures=0
for folder in "${!rank[@]}"; do
    for file in "$repo/$folder"/*.cpp "$repo/$folder"/*.h; do
        [ -e "$file" ] || continue
        while IFS= read -r included; do
            target=${included%%/*}
            [ -n "${rank[$target]+set}" ] || continue
            if [ "$target" != "$folder" ] && [ "${rank[$target]}" -ge "${rank[$folder]}" ]; then
                echo "${file#"$repo/"} includes $included, which is not below $folder/"
                failures=$((failures + 1))
            fi
        done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
    done
done
[ $failures -eq 0 ] && echo "Includes point downward only."
exit $((failures > 0))
