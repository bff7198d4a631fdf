#!/bin/sh
# Drives runloop_probe (argument 1) through a real X server with xdotool: fullscreen
# entered and left (also when entered during setup) brings the window back where setup
# put it, a video mode the server cannot give falls back to a window with a message,
# automatic clearing on and off, and Escape ends each run with status 0 after the
# app's exit. Run it under tests/with-xvfb.sh.
probe="$1"
out=$(mktemp)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Waits at most 30 s until the output holds $2 (default 1) lines that are exactly $1.
wait_for() {
    for i in $(seq 300); do
        [ "$(grep -cx "$1" "$out")" -ge "${2:-1}" ] && return 0
        sleep 0.1
    done
    fail "$mode: no '$1'"
}

# Starts the probe in mode $1 and gives its window the keyboard (focus follows the
# pointer without a window manager). The output file is emptied here: a background
# redirection truncates it only once the child runs, and until then wait_for would
# read the last run's lines.
start() {
    mode="$1"
    : >"$out"
    "$probe" "$mode" >"$out" 2>&1 &
    pid=$!
    wait_for 'first frame background 0 0 255'
    wid=$(xdotool search --sync --name '^runloop-probe$' | head -n1)
    xdotool mousemove --window "$wid" 5 5 windowfocus --sync "$wid"
}

toggle_fullscreen() { xdotool mousemove 5 5 key f; }

at_set_position() {
    sleep 0.3
    case "$(xdotool getwindowgeometry "$wid" | tr -s ' \n' ' ')" in
    *"Position: 100,50 "*) ;; *) fail "$mode: window not back at 100,50" ;; esac
}

# Escape, then the process ends by itself with status 0 after the app's exit.
finish() {
    xdotool key Escape
    for i in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && kill "$pid" && fail "$mode: probe did not end after Escape"
    wait "$pid" || fail "$mode: exit status $?"
    got=$(grep -E '^key 27|terminated|^exit' "$out" | tr '\n' '|')
    [ "$got" = 'key 27|OF_VERBOSE: GLUT OF app is being terminated!|exit|' ] || fail "$mode: ending $got"
    grep -q 'ERROR: AddressSanitizer\|ERROR: LeakSanitizer\|runtime error' "$out" && fail "sanitizer report"
    [ "$failures" -eq 0 ] || { echo "--- $mode output:"; cat "$out"; }
}

start window
wait_for 'screen 1280 1024'
wait_for 'eighth frame square 0 0 255'
toggle_fullscreen
wait_for 'resized 1280 1024 mode 1'
toggle_fullscreen
wait_for 'resized 320 240 mode 0' 2
at_set_position
finish

start fullstart
wait_for 'resized 1280 1024 mode 1'
toggle_fullscreen
wait_for 'resized 320 240 mode 0'
at_set_position
finish

start gamemode
wait_for 'game mode error: selected format (320x240:32@60) not available '
finish

start noclear
wait_for 'eighth frame square 0 255 0'
finish

rm -f "$out"
exit "$failures"
