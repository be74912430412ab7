#!/usr/bin/env bash
# The real program as a screen reader finds it: on a virtual X display with a private D-Bus session
# and accessibility bus, screen_reader_check.py reads it over AT-SPI while xdotool presses keys.
# Skips (exit 77) when python3-pyatspi or the accessibility bus is missing or does not start.
# Usage: tests/app/screen_reader_test.sh QUENWRITE
set -uo pipefail

skip() {
    echo "SKIP: $*"
    exit 77
}

repo=$(cd "$(dirname "$0")/../.." && pwd)
binary=$(realpath "$1")
launcher=/usr/libexec/at-spi-bus-launcher
command -v dbus-run-session >/dev/null || skip "dbus-run-session is missing (apt-get install dbus)"
[[ -x $launcher ]] || skip "$launcher is missing (apt-get install at-spi2-core)"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    skip "pyatspi is missing (apt-get install python3-pyatspi)"

# Everything below runs inside a D-Bus session of its own, so no desktop's bus is touched.
if [[ -z ${QUENWRITE_PRIVATE_BUS:-} ]]; then
    QUENWRITE_PRIVATE_BUS=1 exec dbus-run-session -- "$0" "$@"
fi

source "$repo/tools/xvfb.sh"
scratch=$(mktemp -d)
xvfbPid=
busPid=
programPid=
cleanUp() {
    local pid
    # The bus launcher leads a process group of its own, with its bus and registry in it.
    [[ -n $busPid ]] && kill -TERM -- "-$busPid" 2>/dev/null
    for pid in $programPid $busPid $xvfbPid; do
        { kill -KILL "$pid" && wait "$pid"; } 2>/dev/null
    done
    rm -rf "$scratch"
}
trap cleanUp EXIT


startXvfb "$scratch" || failWithLog "no virtual display"
setsid "$launcher" --launch-immediately >"$scratch/bus.log" 2>&1 &
busPid=$!
for _ in $(seq 100); do
    address=$(dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
        org.a11y.Bus.GetAddress 2>/dev/null | sed -n 's/.*string "\(.*\)"/\1/p')
    [[ -n $address ]] && break
    sleep 0.1
done
[[ -n $address ]] || skip "the accessibility bus did not start: $(head -c 500 "$scratch/bus.log")"

export XDG_STATE_HOME=$scratch/state XDG_CONFIG_HOME=$scratch/config
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
printf 'first line\r\nsecond one\r\nthird' >"$scratch/notes.txt"
# The X keyboard library reads a name the server sends without a closing zero with strndup up
# to its length; AddressSanitizer's strict string checks take that for a read past the end.
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}strict_string_checks=0
(cd "$scratch" && exec "$binary" notes.txt) >"$scratch/program.log" 2>&1 &
programPid=$!
window=$(firstWindowOf "$programPid") || failWithLog "the program showed no window"
xdotool windowfocus --sync "$window" 2>/dev/null
${QUENWRITE_DEBUG_HOOK:-} /usr/bin/python3 "$repo/tests/app/screen_reader_check.py" "$programPid" notes.txt \
    $'first line\r\nsecond one\r\nthird' || failWithLog "the screen reader's view is wrong"
