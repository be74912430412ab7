#!/usr/bin/env bash
# Builds the Windows quenwrite.exe from nothing with MinGW-w64 and checks the PE file: 32-bit,
# GUI subsystem, icon group 101 with its one 128 x 128 image, the manifest, system DLLs only.
# Usage: tools/check-windows.sh [build folder]   (default: build-windows/ in the repo)
set -uo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build-windows}
objdump=i686-w64-mingw32-objdump

# DLLs every Windows since XP carries; anything else would have to ship beside the exe.
allowedDlls=(kernel32.dll user32.dll gdi32.dll comdlg32.dll msvcrt.dll advapi32.dll
             shell32.dll comctl32.dll ole32.dll oleaut32.dll)
# 40-byte header + 128 x 128 x 4 colour bytes + 128 rows of 16 mask bytes.
iconImageSize=$((40 + 128 * 128 * 4 + 128 * 16))

failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$build"
mkdir -p "$build"
if ! cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-i686.cmake" >"$build/configure.log" 2>&1; then
    cat "$build/configure.log"
    fail "configure the Windows build (log above)"
    exit 1
fi
if ! cmake --build "$build" -j2; then
    fail "build the Windows target (errors above)"
    exit 1
fi

exe=$build/quenwrite.exe
if [[ ! -f $exe ]]; then
    fail "no $exe after the build"
    exit 1
fi
pass "built $exe ($(stat -c %s "$exe") bytes)"

headers=$($objdump -p "$exe")

if grep -q 'file format pei-i386' <<<"$headers" && grep -qE '^Magic[[:space:]]+010b' <<<"$headers"; then
    pass "PE32 for i386"
else
    fail "not a PE32 i386 image: $(grep -m1 'file format' <<<"$headers")"
fi

subsystem=$(awk '$1 == "Subsystem" { print $2 }' <<<"$headers")
if [[ $subsystem == 00000002 ]]; then
    pass "subsystem Windows GUI (2)"
else
    fail "subsystem is ${subsystem:-missing}, not Windows GUI (00000002)"
fi

# The resource tree as "type name size" lines. objdump indents each level by two more spaces:
# three before a type entry, five before a name entry; a leaf line carries the data size.
resources=$(awk '
    function hex(text,    i, value) {
        sub(/^0x/, "", text)
        sub(/,$/, "", text)
        for (i = 1; i <= length(text); i++)
            value = value * 16 + index("0123456789abcdef", substr(tolower(text), i, 1)) - 1
        return value
    }
    /^[0-9a-f]+   Entry: ID:/   { type = hex($4) }
    /^[0-9a-f]+     Entry: ID:/ { name = hex($4) }
    /Leaf: Addr:/               { print type, name, hex($6) }
' <<<"$headers")

iconImages=$(awk '$1 == 3' <<<"$resources")
if [[ $(grep -c . <<<"$iconImages") == 1 && $(awk '{ print $3 }' <<<"$iconImages") == "$iconImageSize" ]]; then
    pass "one RT_ICON image of 128 x 128 at 32 bpp"
else
    fail "RT_ICON images are not one 128 x 128 x 32 image: ${iconImages:-none} (type name size)"
fi

if awk '$1 == 14 && $2 == 101 { found = 1 } END { exit !found }' <<<"$resources"; then
    pass "RT_GROUP_ICON 101"
else
    fail "no RT_GROUP_ICON with id 101"
fi

if awk '$1 == 24 && $2 == 1 { found = 1 } END { exit !found }' <<<"$resources"; then
    pass "RT_MANIFEST 1"
else
    fail "no RT_MANIFEST with id 1"
fi

dlls=$(awk '/DLL Name:/ { print tolower($3) }' <<<"$headers" | sort -u)
foreign=()
for dll in $dlls; do
    [[ " ${allowedDlls[*]} " == *" $dll "* ]] || foreign+=("$dll")
done
if [[ -z $dlls ]]; then
    fail "no import table found"
elif ((${#foreign[@]} == 0)); then
    pass "imports only system DLLs: $(echo $dlls)"
else
    fail "imports DLLs that are not part of Windows: ${foreign[*]}"
fi

if ((failures > 0)); then
    echo "check-windows: $failures check(s) failed"
    exit 1
fi
echo "check-windows: all checks passed"
