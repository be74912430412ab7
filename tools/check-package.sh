#!/usr/bin/env bash
# Makes the Debian package of a Linux build and the zip of a Windows build, unpacks them and checks
# what a user gets: the files in place, the dependencies, the desktop entry, and that the installed
# binary starts and ends cleanly. Prints PASS/FAIL lines; exits non-zero when a check fails.
# Usage: tools/check-package.sh [Linux build folder] [Windows build folder]
#        (defaults: build/ and build-windows/ in the repo; make the second with tools/check-windows.sh)
set -uo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
linuxBuild=$(realpath -m "${1:-$repo/build}")
windowsBuild=$(realpath -m "${2:-$repo/build-windows}")
version=$(sed -n 's/^project(Quenwrite VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")

failures=0
pass() { echo "PASS: $*"; }
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
note() { echo "NOTE: $*"; }

# Whether the Depends field names the package (with or without a version).
dependsOn() {
    tr ',' '\n' <<<"$1" | awk '{ print $1 }' | grep -qxF "$2"
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# Runs cpack with one generator in a build folder and prints the path of the package it made.
makePackage() {
    local build=$1 generator=$2 pattern=$3
    rm -f "$build"/packages/$pattern
    if ! (cd "$build" && cpack -G "$generator") >"$scratch/cpack.log" 2>&1; then
        cat "$scratch/cpack.log" >&2
        return 1
    fi
    ls "$build"/packages/$pattern 2>/dev/null | head -n 1
}

checkFile() {
    local path=$1 what=$2
    if [[ -f $path ]]; then pass "$what"; else fail "$what: missing"; fi
}

# The package of every library the binary names (not those they pull in) must be a dependency.
checkLinkedPackages() {
    local binary=$1 depends=$2 needed library package missing=()
    needed=$(objdump -p "$binary" | awk '$1 == "NEEDED" { print $2 }')
    for library in $(ldd "$binary" | awk -v needed="$needed" '
            BEGIN { split(needed, names, "\n"); for (i in names) wanted[names[i]] = 1 }
            $2 == "=>" && ($1 in wanted) { print $3 }'); do
        package=$(dpkg -S "$library" 2>/dev/null || dpkg -S "$(realpath "$library")" 2>/dev/null)
        package=${package%%:*}
        if [[ -z $package ]]; then
            note "no Debian package owns $library"
        elif ! dependsOn "$depends" "$package"; then
            missing+=("$package")
        fi
    done
    if ((${#missing[@]} == 0)); then
        pass "every linked library's package is a dependency"
    else
        fail "linked but not in Depends: ${missing[*]}"
    fi
}

# Starts the unpacked binary without a display, then ends it as a session manager would.
checkStartAndStop() {
    local binary=$1 pid status
    mkdir -p "$scratch/run" && mkdir -m 700 "$scratch/xdg"
    # A login session provides XDG_RUNTIME_DIR; CI may not, and Qt would complain about it.
    (cd "$scratch/run" && XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$scratch/xdg} QT_QPA_PLATFORM=offscreen \
        exec "$binary") >"$scratch/run.log" 2>&1 &
    pid=$!
    sleep 2
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid"
        fail "the binary ended by itself within 2 s, exit code $?: $(head -c 500 "$scratch/run.log")"
        return
    fi
    pass "the binary is running after 2 s"
    kill -TERM "$pid"
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -KILL "$pid"
        wait "$pid" 2>/dev/null
        fail "the binary was still running 5 s after SIGTERM"
        return
    fi
    wait "$pid"
    status=$?
    if ((status == 0)); then
        pass "the binary ends with exit code 0 on SIGTERM"
    elif ((status > 128)); then
        fail "the binary was ended by signal $((status - 128)) ($(kill -l $((status - 128)))), not exit code 0"
    else
        fail "the binary ends with exit code $status on SIGTERM"
    fi
    if [[ -s $scratch/run.log ]]; then
        note "the binary printed: $(head -c 500 "$scratch/run.log")"
    fi
}

checkDebianPackage() {
    echo "== Debian package from $linuxBuild"
    if ! cmake --build "$linuxBuild" -j2 --target quenwrite >"$scratch/build.log" 2>&1; then
        cat "$scratch/build.log"
        fail "build quenwrite in $linuxBuild"
        return
    fi
    local deb
    if ! deb=$(makePackage "$linuxBuild" DEB 'quenwrite_*.deb') || [[ -z $deb ]]; then
        fail "cpack -G DEB made no package"
        return
    fi
    pass "made $(basename "$deb") ($(stat -c %s "$deb") bytes)"

    local debVersion depends
    debVersion=$(dpkg-deb -f "$deb" Version)
    if [[ $debVersion == "$version" ]]; then
        pass "package version $debVersion, as in CMakeLists.txt"
    else
        fail "package version '$debVersion', CMakeLists.txt says '$version'"
    fi
    depends=$(dpkg-deb -f "$deb" Depends)
    note "Depends: $depends"
    local needed
    for needed in libqt6widgets6 libqt6gui6 libqt6core6 fonts-liberation2; do
        if dependsOn "$depends" "$needed"; then
            pass "depends on $needed"
        else
            fail "does not depend on $needed"
        fi
    done

    local root=$scratch/root
    dpkg-deb -x "$deb" "$root"
    local binary=$root/usr/bin/quenwrite
    if [[ -x $binary ]]; then pass "usr/bin/quenwrite"; else fail "usr/bin/quenwrite: missing or not executable"; fi
    local entry=$root/usr/share/applications/quenwrite.desktop
    checkFile "$entry" "usr/share/applications/quenwrite.desktop"
    local icon=$root/usr/share/icons/hicolor/128x128/apps/quenwrite.png
    if cmp -s "$icon" "$repo/resources/quenwrite.png"; then
        pass "usr/share/icons/hicolor/128x128/apps/quenwrite.png"
    else
        fail "usr/share/icons/hicolor/128x128/apps/quenwrite.png: missing or not the project's icon"
    fi
    checkFile "$root/usr/share/doc/quenwrite/copyright" "usr/share/doc/quenwrite/copyright"
    checkFile "$root/usr/share/man/man1/quenwrite.1.gz" "usr/share/man/man1/quenwrite.1.gz"
    if head -n 1 "$root/usr/share/doc/quenwrite/README" 2>/dev/null | grep -qx "Quenwrite $version"; then
        pass "usr/share/doc/quenwrite/README for version $version"
    else
        fail "usr/share/doc/quenwrite/README: missing or not for version $version"
    fi

    if [[ -f $entry ]]; then
        local verdict
        if verdict=$(desktop-file-validate "$entry" 2>&1) && [[ -z $verdict ]]; then
            pass "desktop-file-validate: no complaints"
        else
            fail "desktop-file-validate: $verdict"
        fi
        # "Open with" in a file manager hands the program the file through %f.
        if grep -qx 'Exec=quenwrite %f' "$entry"; then
            pass "the desktop entry passes the file: Exec=quenwrite %f"
        else
            fail "the desktop entry does not pass the file: $(grep '^Exec=' "$entry")"
        fi
    fi
    if [[ -z $(find "$root/usr/share/lintian" -type f 2>/dev/null) ]]; then
        pass "no lintian overrides"
    else
        fail "lintian overrides are installed: $(find "$root/usr/share/lintian" -type f)"
    fi

    if command -v lintian >/dev/null; then
        local report
        report=$(lintian --allow-root "$deb" 2>&1)
        note "lintian (reported, not checked): ${report:-no tags}"
        if grep -q 'desktop-mime-but-no-exec-code' <<<"$report"; then
            fail "lintian: the desktop entry takes no file"
        else
            pass "lintian: the desktop entry takes a file"
        fi
    else
        note "lintian is not installed; skipped"
    fi

    [[ -x $binary ]] || return
    checkLinkedPackages "$binary" "$depends"
    local printed
    if printed=$(env -u DISPLAY -u WAYLAND_DISPLAY "$binary" --version 2>&1) &&
            [[ $printed == "Quenwrite $version" ]]; then
        pass "quenwrite --version prints Quenwrite $version, without a display"
    else
        fail "quenwrite --version: $printed"
    fi
    checkStartAndStop "$binary"
}

checkWindowsZip() {
    echo "== Windows zip from $windowsBuild"
    if [[ ! -f $windowsBuild/quenwrite.exe ]]; then
        fail "no $windowsBuild/quenwrite.exe: run tools/check-windows.sh first"
        return
    fi
    local zip
    if ! zip=$(makePackage "$windowsBuild" ZIP 'quenwrite-*.zip') || [[ -z $zip ]]; then
        fail "cpack -G ZIP made no package"
        return
    fi
    pass "made $(basename "$zip") ($(stat -c %s "$zip") bytes)"
    local top=quenwrite-$version-win32
    if [[ $(basename "$zip") == "$top.zip" ]]; then
        pass "zip named for version $version"
    else
        fail "zip is $(basename "$zip"), expected $top.zip"
    fi
    local contents expected
    contents=$(cmake -E tar tf "$zip" | sort | tr '\n' ' ')
    expected=$(printf '%s\n' "$top/LICENSE.txt" "$top/README.txt" "$top/quenwrite.exe" | sort | tr '\n' ' ')
    if [[ $contents == "$expected" ]]; then
        pass "zip holds quenwrite.exe, README.txt and LICENSE.txt"
    else
        fail "zip holds: $contents; expected: $expected"
    fi
}

checkDebianPackage
checkWindowsZip

if ((failures > 0)); then
    echo "check-package: $failures check(s) failed"
    exit 1
fi
echo "check-package: all checks passed"
