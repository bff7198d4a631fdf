#!/bin/sh
# Builds the Release programs that `make bench` measures, optimised with a
# profile of the Kel test suite: the folder is built instrumented, every test
# script runs (from source and compiled), and the folder is built again with
# what those runs recorded. The training is the test suite, never the
# workloads measured.
# usage: bench/build.sh BUILD_FOLDER JOBS TARGET...
set -e
if [ $# -lt 3 ]; then
    echo "usage: $0 BUILD_FOLDER JOBS TARGET..." >&2
    exit 2
fi
build="$1"
jobs="$2"
shift 2
root="$(cd "$(dirname "$0")/.." && pwd)"
rm -rf "$build/profile"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKURA_PROFILE=generate >/dev/null
cmake --build "$build" --target kel -j"$jobs"
python3 "$root/tests/kel/run_kel_tests.py" "$build/kel" "$root"/tests/kel/*/ >/dev/null
cmake -S "$root" -B "$build" -DKURA_PROFILE=use >/dev/null
cmake --build "$build" --target "$@" -j"$jobs"
