#!/usr/bin/env bash
# The route checker's speed: `kura --check` on the demo and on the generated
# game of the saves benchmark (100 scene files of 1,000 messages, a menu every
# 20), each the best of RUNS runs, against its target.
#
# usage: bench/check/run.sh BUILD_FOLDER   (with kura and saves_bench built)
#   RUNS=3   runs per game
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
REPO=$(cd "$HERE/../.." && pwd)
RUNS=${RUNS:-3}
DEMO_TARGET_MS=1000
BENCH_GAME_TARGET_MS=10000

if [ $# -ne 1 ]; then
    echo "usage: $0 BUILD_FOLDER" >&2
    exit 2
fi
BUILD=$(cd "$1" && pwd)
for program in kura saves_bench; do
    [ -x "$BUILD/$program" ] || { echo "run.sh: $BUILD/$program not built" >&2; exit 2; }
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/kura-check-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
trap 'exit 130' INT TERM
"$BUILD/saves_bench" --write-game "$WORK/game"
# The demo's fonts (make fonts puts them there); without them both games
# report the missing fonts, and are timed all the same.
ln -s "$REPO/data/font" "$WORK/game/data/font"

# best_ms GAME_FOLDER: the shortest of RUNS checks, in milliseconds. A check
# that finds problems (status 1) is timed too; one that cannot run stops here.
best_ms() {
    local best="" start end status
    for _ in $(seq "$RUNS"); do
        start=$(date +%s%N)
        status=0
        (cd "$WORK" && "$BUILD/kura" --check "$1" >/dev/null) || status=$?
        end=$(date +%s%N)
        [ "$status" -le 1 ] || { echo "run.sh: kura --check $1 exited $status" >&2; exit 1; }
        local ms=$(((end - start) / 1000000))
        if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
    done
    echo "$best"
}

report() {
    local what=$1 ms=$2 target=$3 verdict="met"
    [ "$ms" -le "$target" ] || verdict="NOT met"
    printf '%-44s %8d ms  (target %d ms: %s)\n' "$what" "$ms" "$target" "$verdict"
}

report "kura --check on the demo" "$(best_ms "$REPO")" "$DEMO_TARGET_MS"
report "kura --check on the 100-scene game" "$(best_ms "$WORK/game")" "$BENCH_GAME_TARGET_MS"
