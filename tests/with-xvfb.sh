#!/bin/sh
# Runs "$@" with DISPLAY set to a private Xvfb server that picks its own free
# display number, so tests that open windows can run in parallel.
# -noreset: by default the server resets whenever its last client leaves, and
# a client that connects during the reset can fail to open the display.
# A test connects and leaves many times (a probe, xdotool, the program), so
# without it a connection fails now and then, more often under load.
f=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$f" 2>/dev/null &
xpid=$!
for i in $(seq 200); do [ -s "$f" ] && break; sleep 0.05; done
if ! [ -s "$f" ]; then
    echo "with-xvfb.sh: Xvfb reported no display" >&2
    kill $xpid 2>/dev/null
    rm -f "$f"
    exit 1
fi
DISPLAY=":$(head -n1 "$f")"
export DISPLAY
rm -f "$f"
"$@"
rc=$?
kill $xpid 2>/dev/null
wait $xpid 2>/dev/null
exit $rc
