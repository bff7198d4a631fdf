#!/bin/sh
# Drives runloop_probe (argument 1) through a real X server with xdotool and checks
# what it received: callback order, frame pacing, pixels of its frames, key codes,
# mouse order, and Escape ending the process with status 0 after the app's exit.
# Run it under tests/with-xvfb.sh.
probe="$1"
out=$(mktemp)
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Waits until the output holds $3 (default 1) lines matching $1, at most $2 tenths
# of a second.
wait_for() {
    for i in $(seq "$2"); do
        [ "$(grep -c "$1" "$out")" -ge "${3:-1}" ] && return 0
        sleep 0.1
    done
    return 1
}

# Waits for process $1 to end, at most 10 s; a probe still running is killed.
# Sets status to its exit status.
wait_exit() {
    for i in $(seq 100); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$1" 2>/dev/null; then
        kill "$1"
        fail "probe did not end after Escape"
    fi
    wait "$1"
    status=$?
}

# Starts the probe with arguments "$@", its output going to $out. The file is
# emptied here first: a background command's redirection truncates it only once
# the child gets to run, and until then wait_for would read the last run's lines.
start_probe() {
    : >"$out"
    "$probe" "$@" >"$out" 2>&1 &
    pid=$!
}

# Finds the probe's window and gives it the keyboard (focus follows the pointer
# when there is no window manager).
focus_probe() {
    wid=""
    for i in $(seq 50); do
        wid=$(xdotool search --name '^runloop-probe$' | head -n1)
        [ -n "$wid" ] && break
        sleep 0.1
    done
    [ -n "$wid" ] || fail "window not found"
    xdotool mousemove --window "$wid" 5 5 windowfocus --sync "$wid"
}

# The lines matching any of the given patterns, in order, must be exactly $1.
expect_sequence() {
    want="$1"; shift
    got=$(grep -E "$@" "$out" | tr '\n' '|')
    [ "$got" = "$want" ] || fail "expected '$want', got '$got'"
}

start_probe
wait_for '^rate' 300 || fail "no frame-rate report"
focus_probe

geometry=$(xdotool getwindowgeometry "$wid" | tr -s ' \n' ' ')
case "$geometry" in *"Position: 100,50 "*"Geometry: 320x240"*) ;; *) fail "window at $geometry" ;; esac

# Fullscreen takes the whole screen; toggling again restores the window.
xdotool key f
wait_for '^resized 1280 1024 mode 1$' 300 || fail "fullscreen size"
xdotool mousemove 5 5 key f
wait_for '^resized 320 240 mode 0$' 300 2 || fail "back to the window size"
sleep 0.3
geometry=$(xdotool getwindowgeometry "$wid" | tr -s ' \n' ' ')
case "$geometry" in *"Position: 100,50 "*) ;; *) fail "window after fullscreen at $geometry" ;; esac

xdotool mousemove --window "$wid" 50 60
wait_for '^move 50 60' 300 || fail "no move event"
xdotool key z Return Left Up Right Down
xdotool click 1
xdotool click 3
xdotool mousedown 1 mousemove --window "$wid" 70 80 mouseup 1
xdotool click 4
wait_for '^release 70 80 0' 300 || fail "drag release not seen"
xdotool key Escape
wait_exit $pid

[ "$status" -eq 0 ] || fail "exit status $status after Escape"
calls=$(grep -E '^(setup|update|draw)$' "$out" | head -n2 | tr '\n' ' ')
[ "$calls" = "setup update " ] || fail "the loop starts with '$calls', not setup then update"
grep -q '^resized 320 240 mode 0$' "$out" || fail "no resize to the window size"
grep -q '^screen 1280 1024$' "$out" || fail "screen size"

# Pacing at 60 per second: 120 frames take at least two seconds, the measured
# rate agrees with the frames really drawn, and the frame number counts them.
rate=$(grep '^rate' "$out")
echo "$rate" | awk '{
    split($2, n, "="); split($3, d, "="); split($4, e, "="); split($5, m, "=");
    if (n[2] != 120 || d[2] != 121) { print "FAIL: frame number " n[2] " after " d[2] " draws"; bad=1 }
    if (e[2] < 1.95) { print "FAIL: 120 frames in " e[2] " s: faster than 60 per second"; bad=1 }
    if (e[2] > 6.0) { print "FAIL: 120 frames took " e[2] " s"; bad=1 }
    real = 120 / e[2]
    if (m[2] > 61.0 || m[2] < real * 0.8) { print "FAIL: measured " m[2] " for a real " real; bad=1 }
    exit bad }' || failures=$((failures + 1))

grep -q '^pixel 10 20 = 255 128 0$' "$out" || fail "rectangle corner pixel"
grep -q '^pixel 39 59 = 255 128 0$' "$out" || fail "rectangle far pixel"
grep -q '^pixel 40 59 = 0 0 255$' "$out" || fail "pixel right of the rectangle"
grep -q '^pixel 39 60 = 0 0 255$' "$out" || fail "pixel below the rectangle"
grep -q '^pixel 300 200 = 0 0 255$' "$out" || fail "background colour"

expect_sequence 'key 102|keyup 102|key 102|keyup 102|key 122|keyup 122|key 13|keyup 13|key 356|keyup 356|key 357|keyup 357|key 358|keyup 358|key 359|keyup 359|key 27|' '^(key|keyup) '
expect_sequence 'press 50 60 0|release 50 60 0|release|press 50 60 2|release 50 60 2|release|press 50 60 0|drag 70 80 0|release 70 80 0|release|' '^(press|release|drag)'
expect_sequence 'key 27|OF_VERBOSE: GLUT OF app is being terminated!|exit|' '^key 27|terminated|^exit'
grep -q 'BAD' "$out" && fail "mouse position not stored before the call"
grep -q 'ERROR: AddressSanitizer\|ERROR: LeakSanitizer\|runtime error' "$out" && fail "sanitizer report"

# A video mode the server cannot give: the message, then an ordinary window.
start_probe gamemode
wait_for '^draw' 300 || fail "game-mode fallback does not draw"
grep -q '^game mode error: selected format (320x240:32@60) not available $' "$out" ||
    fail "game mode message"
focus_probe
xdotool key Escape
wait_exit $pid
[ "$status" -eq 0 ] || fail "game-mode fallback exit status $status"

# Without automatic clearing only the first three frames are cleared.
start_probe noclear
wait_for '^eighth frame' 300 || fail "no report of the eighth frame"
grep -q '^first frame background 0 0 255$' "$out" || fail "first frame not cleared"
grep -q '^eighth frame square 0 255 0$' "$out" || fail "frames after the third were cleared"
focus_probe
xdotool key Escape
wait_exit $pid

# Fullscreen asked for before the window is shown; leaving it restores the
# window at the position set in setup.
start_probe fullstart
wait_for '^resized 1280 1024 mode 1$' 300 || fail "fullscreen from setup"
focus_probe
xdotool key f
wait_for '^resized 320 240 mode 0$' 300 || fail "leaving fullscreen from setup"
sleep 0.3
geometry=$(xdotool getwindowgeometry "$wid" | tr -s ' \n' ' ')
case "$geometry" in *"Position: 100,50 "*) ;; *) fail "window after leaving fullscreen at $geometry" ;; esac
xdotool key Escape
wait_exit $pid

if [ "$failures" -ne 0 ]; then
    echo "--- probe output:"; cat "$out"
fi
rm -f "$out"
exit "$failures"
