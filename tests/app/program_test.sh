#!/usr/bin/env bash
# The real quenwrite binary started as a user starts it: from a terminal with options, with a file
# named on its command line, and with a file dragged onto its window from another program, on a
# virtual X display (Xvfb) driven with xdotool. What the window holds is checked through what the
# user sees (its title) and what a save writes: a key typed at the start, then Ctrl+S.
# Usage: tests/program_test.sh QUENWRITE DRAG_SOURCE VERSION CASE
#   CASE: options, named_file, missing_file, quoted_path, dragged_file
set -uo pipefail

binary=$(realpath "$1") dragSource=$(realpath "$2") version=$3 case=$4
repo=$(cd "$(dirname "$0")/../.." && pwd)
source "$repo/tools/xvfb.sh"
# Under the sanitizers (tools/test-sanitized.sh): the X keyboard library reads a string past its
# end at start-up, which strict string checks stop as if it were ours.
[[ -n ${ASAN_OPTIONS:-} ]] && export ASAN_OPTIONS=$ASAN_OPTIONS:strict_string_checks=0

scratch=$(mktemp -d)
run=$scratch/run
mkdir "$run"
# Recovery copies of unsaved text stay in the scratch folder, never in the user's state folder.
export XDG_STATE_HOME=$scratch/state
xvfbPid=
programPid=
sourcePid=
cleanUp() {
    local pid
    for pid in $programPid $sourcePid $xvfbPid; do
        { kill -KILL "$pid" && wait "$pid"; } 2>/dev/null
    done
    rm -rf "$scratch"
}
trap cleanUp EXIT


# Starts the program in the run folder with these arguments and waits for its window.
start() {
    startXvfb "$scratch" || failWithLog "no virtual display"
    (cd "$run" && exec "$binary" "$@") >"$scratch/program.log" 2>&1 &
    programPid=$!
    window=$(firstWindowOf "$programPid") || failWithLog "the program showed no window"
}

expectTitle() {
    local title
    title=$(waitForTitle "$window" "$1") || failWithLog "the title is '$title', not '$1'"
}

# Waits up to 10 s for the file to hold exactly these bytes (printf format).
expectBytes() {
    local file=$1 expected
    expected=$(printf "$2" | od -An -c)
    for _ in $(seq 100); do
        [[ -f $file && $(od -An -c <"$file") == "$expected" ]] && return 0
        sleep 0.1
    done
    failWithLog "$file holds [$(od -An -c <"$file" 2>/dev/null)], not [$expected]"
}

# Types X at the start of the text, sees the title marked changed, and saves with Ctrl+S.
typeAndSave() {
    local name=$1
    xdotool windowfocus --sync "$window"
    xdotool type X
    expectTitle "*$name - Quenwrite"
    xdotool key ctrl+s
    expectTitle "$name - Quenwrite"
}

# Ends the program as the session does; with nothing unsaved it ends at once with 0.
stop() {
    local status
    kill -TERM "$programPid"
    for _ in $(seq 100); do
        kill -0 "$programPid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$programPid" 2>/dev/null && failWithLog "still running 10 s after SIGTERM"
    wait "$programPid"
    status=$?
    programPid=
    ((status == 0)) || failWithLog "ended with status $status"
}

options() {
    local output status
    output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$binary" --version 2>&1)
    status=$?
    ((status == 0)) || failWithLog "--version ended with status $status: $output"
    [[ $output == "Quenwrite $version" ]] || failWithLog "--version printed '$output'"
    output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$binary" --help 2>&1)
    status=$?
    ((status == 0)) || failWithLog "--help ended with status $status: $output"
    [[ $output == "Usage: quenwrite [FILE]"* ]] || failWithLog "--help printed '$output'"
}

named_file() {
    printf 'hello\r\nworld\r\n' >"$run/notes.txt"
    start notes.txt
    expectTitle "notes.txt - Quenwrite"
    typeAndSave notes.txt
    expectBytes "$run/notes.txt" 'Xhello\r\nworld\r\n'
    stop
}

missing_file() {
    start missing.txt
    expectTitle "missing.txt - Quenwrite"
    [[ -e $run/missing.txt ]] && failWithLog "opening created the file"
    typeAndSave missing.txt
    expectBytes "$run/missing.txt" 'X'
    stop
}

# Spaces, a quote and é in the name, a folder with a space; a second name is ignored.
quoted_path() {
    local name='say "hi" é.txt'
    mkdir "$run/two words"
    printf 'quoted\r\n' >"$run/two words/$name"
    start "two words/$name" "second name.txt"
    expectTitle "$name - Quenwrite"
    typeAndSave "$name"
    expectBytes "$run/two words/$name" 'Xquoted\r\n'
    [[ -e "$run/second name.txt" ]] && failWithLog "the second name was opened or created"
    stop
}

# Dragged from another program with the mouse: the drop takes the file as a copy, never as a move.
dragged_file() {
    printf 'dragged\r\n' >"$run/dragged.txt"
    start
    expectTitle "New file - Quenwrite"
    "$dragSource" "$run/dragged.txt" >"$scratch/drag.out" 2>&1 &
    sourcePid=$!
    local source X Y WIDTH HEIGHT
    source=$(firstWindowOf "$sourcePid") || failWithLog "the drag source showed no window"
    eval "$(xdotool getwindowgeometry --shell "$source")"
    local fromX=$((X + WIDTH / 2)) fromY=$((Y + HEIGHT / 2))
    eval "$(xdotool getwindowgeometry --shell "$window")"
    local toX=$((X + WIDTH / 2)) toY=$((Y + HEIGHT / 2)) step
    xdotool mousemove "$fromX" "$fromY" mousedown 1
    for step in $(seq 10); do
        xdotool mousemove $((fromX + (toX - fromX) * step / 10)) $((fromY + (toY - fromY) * step / 10))
        sleep 0.1
    done
    sleep 0.5
    xdotool mouseup 1
    expectTitle "dragged.txt - Quenwrite"
    for _ in $(seq 50); do
        [[ -s $scratch/drag.out ]] && break
        sleep 0.1
    done
    [[ $(cat "$scratch/drag.out") == copy ]] || failWithLog "the drop took '$(cat "$scratch/drag.out")'"
    typeAndSave dragged.txt
    expectBytes "$run/dragged.txt" 'Xdragged\r\n'
    stop
}

"$case"
echo "PASS: $case"
