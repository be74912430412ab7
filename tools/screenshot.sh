#!/usr/bin/env bash
# Takes the README's screenshots: starts the Linux build on a virtual X display (Xvfb), types a
# little text, and saves the main window, its open File menu and the About box as PNG files.
# Usage: tools/screenshot.sh [binary] [output folder]   (defaults: build/quenwrite, docs/)
# Needs xvfb, xdotool and imagemagick (apt-get install xvfb xdotool imagemagick).
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
binary=$(realpath "${1:-$repo/build/quenwrite}")
outDir=$(realpath -m "${2:-$repo/docs}")
sampleLines=("Quenwrite keeps your words plain." "No formatting, no fuss: just your text."
             "" "Ctrl+S saves, Ctrl+F finds.")

for tool in Xvfb xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "screenshot: $tool is missing" >&2; exit 1; }
done
[[ -x $binary ]] || { echo "screenshot: no program at $binary" >&2; exit 1; }
mkdir -p "$outDir"
source "$repo/tools/xvfb.sh"

scratch=$(mktemp -d)
xvfbPid=
programPid=
cleanUp() {
    [[ -n $programPid ]] && kill "$programPid" 2>/dev/null || true
    [[ -n $xvfbPid ]] && kill "$xvfbPid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanUp EXIT

startXvfb "$scratch" 800x640 || exit 1

# A fresh current folder, so no settings.ini of the user's changes the font in the picture, and
# a fresh state folder, so no recovery copy of the user's is offered or left behind.
mkdir "$scratch/run"
export XDG_STATE_HOME=$scratch/state
(cd "$scratch/run" && exec "$binary") >"$scratch/program.log" 2>&1 &
programPid=$!

programWindows() {
    windowsOf "$programPid"
}

# Saves the part of the screen that holds all of the program's visible windows.
shoot() {
    local file=$1 left=100000 top=100000 right=0 bottom=0 id X Y WIDTH HEIGHT
    sleep 1
    for id in $(programWindows); do
        eval "$(xdotool getwindowgeometry --shell "$id")"
        ((X < left)) && left=$X
        ((Y < top)) && top=$Y
        ((X + WIDTH > right)) && right=$((X + WIDTH))
        ((Y + HEIGHT > bottom)) && bottom=$((Y + HEIGHT))
    done
    if ((right == 0)); then
        import -window root "$file"
    else
        import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$file"
    fi
    echo "screenshot: $file"
}

if ! mainWindow=$(firstWindowOf "$programPid"); then
    echo "screenshot: the program showed no window" >&2
    cat "$scratch/program.log" >&2
    exit 1
fi
sleep 1
# With no window manager, focusing the window is what makes it the active window.
xdotool windowfocus --sync "$mainWindow"
for i in "${!sampleLines[@]}"; do
    ((i == 0)) || xdotool key Return
    xdotool type --delay 20 "${sampleLines[i]}"
done
shoot "$outDir/quenwrite.png"

# File is the first menu: a click near the menu bar's left end opens it.
eval "$(xdotool getwindowgeometry --shell "$mainWindow")"
xdotool mousemove $((X + 18)) $((Y + 10)) click 1
shoot "$outDir/quenwrite-menu.png"

# From File, Right four times (Edit, Format, View) reaches Help, whose first item is About.
windowsBefore=$(programWindows)
xdotool key Right Right Right Right Return
sleep 1
if programWindows | grep -qvxF "$windowsBefore"; then
    shoot "$outDir/quenwrite-about.png"
    xdotool key Return
else
    echo "screenshot: no About box appeared; skipped its picture" >&2
fi

# SIGTERM ends the session: the typed text goes to a recovery copy in the scratch state folder,
# and the program ends with exit code 0 without asking.
kill -TERM "$programPid"
status=0
wait "$programPid" || status=$?
programPid=
echo "screenshot: the program ended with status $status"
