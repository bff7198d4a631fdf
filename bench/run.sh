#!/bin/sh
# Benchmarks Kel against Lua 5.4 and Python 3 with the `kel` of a build folder.
# usage: bench/run.sh BUILD_FOLDER [RUNS]   (BENCH_QUICK=1 for small sizes)
set -e
here="$(dirname "$0")"
if [ $# -lt 1 ]; then
    echo "usage: $0 BUILD_FOLDER [RUNS]" >&2
    exit 2
fi
for tool in lua5.4 luac5.4 python3 /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "missing $tool (make bench installs it)" >&2; exit 2; }
done
exec python3 "$here/run.py" "$1/kel" ${2:+"$2"}
