#!/usr/bin/env bash
# The user-level tests: the real program on a virtual X display (Xvfb), driven with xdotool as a
# user drives it, every scenario once on a bare X server and once under the openbox window
# manager. A keystroke that does not land in the text, a question that drops the text, a lost
# recovery copy, a crash or an exit code other than 0 fails the run.
# Usage: tools/test-desktop.sh [binary]   (default: build/quenwrite); SCENARIOS="a b" runs only those.
# Needs xvfb, xauth, xdotool, x11-utils (xprop), imagemagick and openbox (tools/install-deps.sh).
set -uo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
binary=$(realpath "${1:-$repo/build/quenwrite}")
artifacts=$(dirname "$binary")/test-desktop

for tool in Xvfb xdotool xprop import openbox; do
    command -v "$tool" >/dev/null || { echo "test-desktop: $tool is missing" >&2; exit 1; }
done
[[ -x $binary ]] || { echo "test-desktop: no program at $binary" >&2; exit 1; }
rm -rf "$artifacts"
mkdir -p "$artifacts"

scratch=$(mktemp -d)
xvfbPid=
wmPid=
appPid=
cleanUp() {
    [[ -n $appPid ]] && kill -KILL "$appPid" 2>/dev/null
    [[ -n $wmPid ]] && kill "$wmPid" 2>/dev/null
    [[ -n $xvfbPid ]] && kill "$xvfbPid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanUp EXIT

failures=0
environment=
scenario=
shot=0

fail() {
    failures=$((failures + 1))
    shot=$((shot + 1))
    local picture=$artifacts/$environment-$scenario-$shot.png
    import -window root "$picture" 2>/dev/null
    [[ -f ${place:-}/program.log ]] && cp "$place/program.log" "$artifacts/$environment-$scenario.log"
    echo "FAIL [$environment] $scenario: $* (screen: $picture)"
}

# --- The display and the window manager -----------------------------------------------------

source "$repo/tools/xvfb.sh"
startXvfb "$scratch" || exit 1
unset SESSION_MANAGER

startWindowManager() {
    openbox --sm-disable >"$scratch/openbox.log" 2>&1 &
    wmPid=$!
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.05
    done
    echo "test-desktop: openbox did not start" >&2
    cat "$scratch/openbox.log" >&2
    exit 1
}

# --- The program ------------------------------------------------------------------------------

# Each scenario runs in a folder of its own, with its own home and state folder, so recovery
# copies of one never reach another.
newPlace() {
    place=$scratch/$environment-$scenario
    mkdir -p "$place/run" "$place/home"
    export HOME=$place/home XDG_STATE_HOME=$place/state
}

# Prints the id of the program's visible window whose title matches, waiting up to 5 s.
windowOf() {
    local pattern=$1 id
    for _ in $(seq 100); do
        id=$(xdotool search --all --onlyvisible --pid "$appPid" --name "$pattern" 2>/dev/null | head -n 1)
        [[ -n $id ]] && { echo "$id"; return 0; }
        sleep 0.05
    done
    return 1
}

waitGone() {
    for _ in $(seq 100); do
        xdotool getwindowname "$1" >/dev/null 2>&1 || return 0
        xwininfo -id "$1" 2>/dev/null | grep -q IsViewable || return 0
        sleep 0.05
    done
    return 1
}

startEditor() {
    (cd "$place/run" && exec "$binary" "$@") >>"$place/program.log" 2>&1 &
    appPid=$!
    main=$(windowOf ' - Quenwrite$') || { fail "no main window"; return 1; }
}

# Waits up to 5 s for the program to end and sets exitCode; one that goes on is killed (137).
waitForEnd() {
    for _ in $(seq 100); do
        kill -0 "$appPid" 2>/dev/null || break
        sleep 0.05
    done
    kill -0 "$appPid" 2>/dev/null && kill -KILL "$appPid"
    exitCode=0
    wait "$appPid" 2>/dev/null || exitCode=$?
    appPid=
}

stopEditor() {
    [[ -n $appPid ]] || return 0
    kill -KILL "$appPid" 2>/dev/null
    wait "$appPid" 2>/dev/null
    appPid=
}

typeText() {
    xdotool type --delay 12 "$1"
    sleep 0.1
}

keys() {
    xdotool key --delay 40 "$@"
    sleep 0.1
}

titleIs() {
    local name
    name=$(waitForTitle "$main" "$1") || { fail "title is \"$name\", not \"$1\""; return 1; }
}

# Answers the box whose text matches with keys; fails when no such box comes.
answerBox() {
    local pattern=$1 box
    shift
    box=$(windowOf "$pattern") || { fail "no box \"$pattern\""; return 1; }
    keys "$@"
    waitGone "$box" || fail "box \"$pattern\" stayed after $*"
}

# Chooses a path in the Open or Save As dialog now shown.
choosePath() {
    local dialog
    dialog=$(windowOf "$1") || { fail "no $1 dialog"; return 1; }
    typeText "$2"
    keys Return
    waitGone "$dialog" || fail "the $1 dialog stayed"
}

sameBytes() {
    local file=$1 expected=$2
    if [[ ! -f $file ]]; then
        fail "no file $file"
    elif ! cmp -s "$file" <(printf '%s' "$expected"); then
        fail "$(basename "$file") holds \"$(cat -A "$file")\", expected \"$(printf '%s' "$expected" | cat -A)\""
    fi
}

# Sets X and Y to the screen position of a window's client area. (xdotool's own geometry adds a
# window manager's frame twice.)
originOf() {
    local info
    info=$(xwininfo -id "$1")
    X=$(awk '/Absolute upper-left X/ { print $4 }' <<<"$info")
    Y=$(awk '/Absolute upper-left Y/ { print $4 }' <<<"$info")
}

# Opens a menu of the main window by keyboard after a click on File: File is 0, Edit 1, Format
# 2, View 3, Help 4.
chooseMenu() {
    originOf "$main"
    xdotool mousemove $((X + 18)) $((Y + 10)) click 1
    sleep 0.2
    local i
    for ((i = 0; i < $1; i++)); do keys Right; done
    keys Return
}

# Clicks at a point of a window's client area.
clickIn() {
    originOf "$1"
    xdotool mousemove $((X + $2)) $((Y + $3)) click 1
    sleep 0.2
}

# Finds a text once through the Find window, then closes the window with its Cancel button.
# Finds TEXT once through the Find window, then closes it with its Cancel button, or with Esc
# when the second argument says so. Usage: findOnce TEXT [Escape]
findOnce() {
    keys ctrl+f
    local find
    find=$(windowOf '^Find string in document$') || fail "no Find window"
    typeText "$1"
    keys Return
    if [[ ${2:-} == Escape ]]; then
        keys Escape
    else
        [[ -n $find ]] && clickIn "$find" 325 50 # Cancel
    fi
    waitGone "$find" || fail "the Find window stayed"
}

recoveryCopies() {
    find "$XDG_STATE_HOME" -name '*.recovery' 2>/dev/null | wc -l
}

# --- Scenarios --------------------------------------------------------------------------------

# Keystrokes land in the text after every box, dialog and window, and the save question keeps
# the text on Esc and on its close box.
keysAfterEveryWindow() {
    newPlace
    printf 'there' >"$place/run/exists.txt"
    startEditor || return
    typeText "a1 "

    chooseMenu 4 # Help, About
    answerBox '^About Quenwrite$' Return
    typeText "a2 "

    chooseMenu 2 # Format, Font
    local format
    format=$(windowOf '^Format text$') || fail "no Format text window"
    [[ -n $format ]] && clickIn "$format" 180 332 # Apply
    waitGone "$format" || fail "the Format text window stayed"
    typeText "a3 "

    # Find selects a1; after the Find window closes, typing replaces the selection.
    findOnce "a1"
    typeText "Z"
    keys ctrl+End
    typeText "a4 "

    # The save question: Esc is Cancel and keeps the text.
    keys ctrl+n
    answerBox '^Quenwrite$' Escape
    typeText "a5 "

    if [[ $environment == openbox ]]; then
        # Its close box (Alt+F4 through the window manager) is Cancel too.
        keys ctrl+n
        answerBox '^Quenwrite$' alt+F4
        typeText "a6 "
        # Back from another window: a click on the main window's title bar.
        keys ctrl+f
        local find
        find=$(windowOf '^Find string in document$') || fail "no Find window"
        originOf "$main"
        xdotool mousemove $((X + 200)) $((Y - 8)) click 1
        sleep 0.3
        typeText "a7 "
        [[ -n $find ]] && clickIn "$find" 325 50
        waitGone "$find" || fail "the Find window stayed"
        # Minimised and brought back.
        xdotool windowminimize "$main"
        sleep 0.3
        xdotool windowactivate "$main"
        sleep 0.3
        typeText "a8 "
    fi

    # A Yes/No box cannot be dismissed: Esc and its close box leave it; No answers it.
    keys ctrl+shift+s
    choosePath "^Save As$" "$place/run/exists.txt"
    local warning
    warning=$(windowOf '^Warning$') || fail "no overwrite warning"
    keys Escape
    [[ $environment == openbox ]] && keys alt+F4
    sleep 0.2
    xwininfo -id "$warning" 2>/dev/null | grep -q IsViewable ||
        fail "the Yes/No box was dismissed without an answer"
    keys alt+n
    waitGone "$warning" || fail "the overwrite warning stayed after No"
    typeText "a9 "

    # Open asks first; Yes saves through Save As, the Open dialog is cancelled.
    keys ctrl+o
    answerBox '^Quenwrite$' Return
    choosePath "^Save As$" "$place/run/doc.txt"
    local open
    open=$(windowOf '^Open$') || fail "no Open dialog"
    keys Escape
    waitGone "$open" || fail "the Open dialog stayed"
    typeText "b1"
    keys ctrl+s
    titleIs "doc.txt - Quenwrite"

    local typed="Z a2 a3 a4 a5 "
    [[ $environment == openbox ]] && typed+="a6 a7 a8 "
    sameBytes "$place/run/doc.txt" "${typed}a9 b1"
    sameBytes "$place/run/exists.txt" "there"
    stopEditor
}

# Unsaved text survives kill -9 and comes back, under its file's name, at the next start.
survivesKill() {
    newPlace
    startEditor || return
    typeText "not lost"
    sleep 3 # the copy is written after a pause of 2 s
    kill -KILL "$appPid"
    waitForEnd
    [[ $(recoveryCopies) == 1 ]] || fail "no recovery copy after the pause"
    startEditor || return
    answerBox '^Quenwrite$' Return
    titleIs "*New file - Quenwrite"
    keys ctrl+End
    typeText " at all"
    keys ctrl+s
    choosePath "^Save As$" "$place/run/kept.txt"
    sameBytes "$place/run/kept.txt" "not lost at all"
    [[ $(recoveryCopies) == 0 ]] || fail "the recovery copy stayed after the save"
    stopEditor
}

# Three words typed with the caret moved between them undo one by one and redo again, by the keys
# and by the text's own shortcut menu; undoing back to the saved text takes the title's star away.
undoesAndRedoes() {
    newPlace
    printf 'saved\n' >"$place/run/notes.txt"
    startEditor "$place/run/notes.txt" || return
    keys ctrl+End
    typeText "one two"
    keys Home
    typeText "zero "
    keys ctrl+z ctrl+z
    titleIs "*notes.txt - Quenwrite"
    keys ctrl+z
    titleIs "notes.txt - Quenwrite"
    keys ctrl+y ctrl+shift+z
    # The shortcut menu from the Menu key, and its Undo by its underlined letter.
    keys Menu
    sleep 0.3
    keys u
    keys ctrl+y ctrl+y ctrl+s
    titleIs "notes.txt - Quenwrite"
    sameBytes "$place/run/notes.txt" $'saved\nzero one two'
    stopEditor
}

# A word typed and the program killed at once, with no pause for a copy: the journal has it. The
# same for a file opened and edited in its middle.
survivesKillAtOnce() {
    newPlace
    startEditor || return
    typeText "instant"
    kill -KILL "$appPid"
    waitForEnd
    startEditor || return
    answerBox '^Quenwrite$' Return
    titleIs "*New file - Quenwrite"
    keys ctrl+s
    choosePath "^Save As$" "$place/run/instant.txt"
    sameBytes "$place/run/instant.txt" "instant"
    stopEditor

    printf 'first line\nlast line\n' >"$place/run/edited.txt"
    startEditor "$place/run/edited.txt" || return
    keys Down End Left Left Left Left
    typeText "middle "
    kill -KILL "$appPid"
    waitForEnd
    startEditor || return
    answerBox '^Quenwrite$' Return
    titleIs "*edited.txt - Quenwrite"
    keys ctrl+s
    titleIs "edited.txt - Quenwrite"
    sameBytes "$place/run/edited.txt" $'first line\nlast middle line\n'
    stopEditor
}

# SIGTERM while the Open dialog is open ends the program cleanly; SIGHUP while the save question
# is open writes the recovery copy first.
endsWithTheSession() {
    newPlace
    startEditor || return
    keys ctrl+o
    windowOf '^Open$' >/dev/null || fail "no Open dialog"
    kill -TERM "$appPid"
    waitForEnd
    ((exitCode == 0)) || fail "SIGTERM during the Open dialog: exit code $exitCode"

    startEditor || return
    typeText "asked"
    keys ctrl+n
    windowOf '^Quenwrite$' >/dev/null || fail "no save question"
    kill -HUP "$appPid"
    waitForEnd
    ((exitCode == 0)) || fail "SIGHUP during the save question: exit code $exitCode"
    [[ $(recoveryCopies) == 1 ]] || fail "no recovery copy after SIGHUP"
    startEditor || return
    answerBox '^Quenwrite$' Return
    keys ctrl+s
    choosePath "^Save As$" "$place/run/asked.txt"
    sameBytes "$place/run/asked.txt" "asked"
    stopEditor
}

# Save asks before it writes over another program's change; No keeps the text unsaved.
asksBeforeReplacingAChange() {
    newPlace
    printf 'original' >"$place/run/doc.txt"
    startEditor || return
    keys ctrl+o
    choosePath "^Open$" "$place/run/doc.txt"
    titleIs "doc.txt - Quenwrite"
    typeText "mine "
    printf 'theirs' >"$place/run/doc.txt"
    keys ctrl+s
    answerBox '^Quenwrite$' alt+n
    sameBytes "$place/run/doc.txt" "theirs"
    titleIs "*doc.txt - Quenwrite"
    keys ctrl+s
    answerBox '^Quenwrite$' alt+y
    sameBytes "$place/run/doc.txt" 'mine original'
    titleIs "doc.txt - Quenwrite"
    stopEditor
}

# F3 after the Find window, Go to line (with a line that is not there first) and Replace all, all
# from the keyboard: after each window the keys land in the text, where the command left the caret.
searchesAndJumps() {
    newPlace
    printf 'one cat\r\ntwo cat\r\nthree' >"$place/run/pets.txt"
    startEditor || return
    keys ctrl+o
    choosePath "^Open$" "$place/run/pets.txt"
    titleIs "pets.txt - Quenwrite"

    findOnce "cat" Escape
    keys F3
    typeText "dog"

    keys ctrl+g
    local goTo
    goTo=$(windowOf '^Go to line$') || fail "no Go to line window"
    # A line that is not there is told in a box of the same title; the number stays selected.
    typeText "9"
    keys Return
    sleep 0.3
    (($(xdotool search --all --onlyvisible --pid "$appPid" --name '^Go to line$' | wc -l) == 2)) ||
        fail "no box about line 9"
    keys Return
    typeText "3"
    keys Return
    waitGone "$goTo" || fail "the Go to line window stayed"
    typeText "3:"

    keys ctrl+h
    local replace
    replace=$(windowOf '^Replace string in document$') || fail "no Replace window"
    [[ -n $replace ]] && clickIn "$replace" 190 50 # Replace with
    typeText "cow"
    [[ -n $replace ]] && clickIn "$replace" 325 80 # Replace all
    answerBox '^Quenwrite$' Return
    keys Escape
    waitGone "$replace" || fail "the Replace window stayed"
    keys ctrl+End
    typeText " end"
    keys ctrl+s
    titleIs "pets.txt - Quenwrite"
    sameBytes "$place/run/pets.txt" $'one cow\r\ntwo dog\r\n3:three end'
    stopEditor
}

# The Find window keeps its keys across a trip to the text: a word found with Enter, a click in
# the main window, a click back on the Find window, a new word typed over the old one (the box
# has the focus again, its text selected) and found with Enter. Then Tab and Shift+Tab: Match
# case off with the space bar, back to the box (its text selected again), a word in capitals
# found without case, and Esc closes the window.
findRoundTrip() {
    newPlace
    startEditor || return
    typeText "one two one"
    keys ctrl+f
    local find
    find=$(windowOf '^Find string in document$') || { fail "no Find window"; return; }
    typeText "two"
    keys Return
    clickIn "$main" 250 150
    clickIn "$find" 200 70 # on the window itself, beside its controls
    typeText "one"
    keys Return
    keys Tab Tab space shift+Tab shift+Tab # Find, Match case (off), Find, the box
    typeText "TWO"
    keys Return
    keys Escape
    waitGone "$find" || fail "the Find window stayed after Esc"
    typeText "Z"
    keys ctrl+s
    choosePath "^Save As$" "$place/run/trip.txt"
    sameBytes "$place/run/trip.txt" "one Z one"
    stopEditor
}

runAll() {
    for scenario in ${SCENARIOS:-keysAfterEveryWindow searchesAndJumps findRoundTrip survivesKill \
        endsWithTheSession asksBeforeReplacingAChange undoesAndRedoes survivesKillAtOnce}; do
        local before=$failures started=$SECONDS
        "$scenario"
        stopEditor
        ((failures == before)) && echo "PASS [$environment] $scenario ($((SECONDS - started)) s)"
    done
}

environment=bare
runAll
environment=openbox
startWindowManager
runAll

if ((failures > 0)); then
    echo "test-desktop: $failures failure(s); screens in $artifacts"
    exit 1
fi
rmdir "$artifacts" 2>/dev/null
echo "test-desktop: all scenarios passed, bare and under openbox"
