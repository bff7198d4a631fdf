#!/bin/sh
# Runs "$@" with DISPLAY set to a private Xvfb server that picks its own free
# display number, so tests that open windows can run in parallel.
f=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$f" 2>/dev/null &
xpid=$!
for i in $(seq 200); do [ -s "$f" ] && break; sleep 0.05; done
DISPLAY=":$(head -n1 "$f")"
export DISPLAY
rm -f "$f"
"$@"
rc=$?
kill $xpid 2>/dev/null
wait $xpid 2>/dev/null
exit $rc
