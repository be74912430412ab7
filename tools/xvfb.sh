# Shared by the scripts that drive the Linux build on a virtual X display; sourced, not run.
# Needs xvfb and xdotool (apt-get install xvfb xdotool).

# Starts Xvfb on a free display (it writes the number to a pipe, so parallel runs do not collide)
# and points DISPLAY, the Qt platform and a private XDG_RUNTIME_DIR at it. Sets xvfbPid; the
# caller kills it. -noreset: by default the server resets when its last client goes, and a
# program started during the reset cannot connect. Usage: startXvfb SCRATCH_FOLDER [WIDTHxHEIGHT]
startXvfb() {
    local scratch=$1 size=${2:-1024x768}
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$scratch/display" \
        2>"$scratch/xvfb.log" &
    xvfbPid=$!
    for _ in $(seq 100); do
        [[ -s $scratch/display ]] && break
        sleep 0.1
    done
    if [[ ! -s $scratch/display ]]; then
        echo "Xvfb did not start: $(cat "$scratch/xvfb.log")" >&2
        return 1
    fi
    export DISPLAY=:$(cat "$scratch/display")
    unset WAYLAND_DISPLAY
    export QT_QPA_PLATFORM=xcb
    if [[ -z ${XDG_RUNTIME_DIR:-} ]]; then
        mkdir -m 700 "$scratch/xdg"
        export XDG_RUNTIME_DIR=$scratch/xdg
    fi
}

# Prints the ids of the visible windows of a process, one a line.
windowsOf() {
    xdotool search --onlyvisible --pid "$1" 2>/dev/null || true
}

# Prints the first visible window of a process once there is one; fails after 20 s or when the
# process has ended.
firstWindowOf() {
    local pid=$1 window
    for _ in $(seq 200); do
        window=$(windowsOf "$pid" | head -n 1)
        if [[ -n $window ]]; then
            echo "$window"
            return 0
        fi
        kill -0 "$pid" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# Waits up to 10 s for a window's title to be the one given; prints the last title seen and fails
# when it never was.
waitForTitle() {
    local window=$1 expected=$2 title
    for _ in $(seq 100); do
        title=$(xdotool getwindowname "$window" 2>/dev/null)
        [[ $title == "$expected" ]] && return 0
        sleep 0.1
    done
    echo "$title"
    return 1
}

# Ends a test of the program with the reason and the start of what the program printed, from
# $scratch/program.log.
failWithLog() {
    echo "FAIL: $*"
    [[ -s $scratch/program.log ]] && echo "the program printed: $(head -c 2000 "$scratch/program.log")"
    exit 1
}
