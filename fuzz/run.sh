#!/bin/sh
# The fuzz targets' two steps, used by `make fuzz` and by the smoke tests:
#   fuzz/run.sh build BUILD                  build them with clang++-14 in BUILD
#   fuzz/run.sh fuzz BUILD SECONDS TARGET    TARGET is source, compiled or progress: run it
#       first over the inputs that once broke it (tests/fuzz/regressions), then
#       for SECONDS on a corpus seeded from the script-level tests (progress:
#       from progress files as the engine writes them).
# Crashes are written to BUILD/crashes; the log of a run is BUILD/TARGET.log.
set -e
here="$(cd "$(dirname "$0")" && pwd)"
tests="$here/../tests"
# libFuzzer's exit status for an input that ran past -timeout.
TIMEOUT_STATUS=70
# ... and for one whose memory ran past -rss_limit_mb.
OOM_STATUS=71

usage() {
    echo "usage: $0 build BUILD | fuzz BUILD SECONDS source|compiled|progress" >&2
    exit 2
}

build_targets() {
    cmake -S "$here" -B "$1" -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
    cmake --build "$1" -j"$(nproc)"
}

# Seeds: the suite's scripts as source, or the same scripts compiled.
seed() {
    build="$1"
    corpus="$build/corpus/$2"
    mkdir -p "$corpus"
    if [ "$2" = progress ]; then
        printf 'global string sd_now_scene="003";\nglobal string sd_max_scene="012";\n' \
            >"$corpus/plain"
        printf 'global string sd_now_scene="a\\"b"+'"'\\\\'"'+"\\n";\r\nglobal string sd_max_scene="";\r\n' \
            >"$corpus/escapes"
    elif [ "$2" = source ]; then
        find "$tests/kel" -name '*.kel' | while read -r file; do
            cp "$file" "$corpus/$(echo "${file#$tests/kel/}" | tr / _)"
        done
    else
        find "$tests/kel" -name '*.kel' -print0 | \
            xargs -0 "$build/kelfuzz_compile_seeds" "$corpus" >/dev/null
    fi
}

fuzz_target() {
    build="$(cd "$1" && pwd)"
    seconds="$2"
    target="$3"
    fuzzer="$build/kel_${target}_fuzzer"
    [ -x "$fuzzer" ] || { echo "no $fuzzer: run '$0 build $1' first" >&2; exit 2; }
    mkdir -p "$build/crashes"
    # Standard output is closed: scripts print a lot and it tells nothing here.
    # The budget bounds instructions, not what one instruction may build (a
    # list of four million elements takes seconds under the sanitizers), so
    # slow and memory-hungry inputs are noted in the log and fuzzing goes on;
    # a crash stops it.
    options="-close_fd_mask=1 -timeout=60 -rss_limit_mb=2560"
    session="-fork=1 -ignore_timeouts=1 -ignore_ooms=1"
    regressions="$tests/fuzz/regressions/$target"
    if [ -n "$(ls -A "$regressions" 2>/dev/null)" ]; then
        echo "kel_${target}_fuzzer: inputs that once broke it"
        if ! "$fuzzer" $options "$regressions"/* >"$build/$target-regressions.log" 2>&1; then
            tail -n 40 "$build/$target-regressions.log"
            exit 1
        fi
    fi
    seed "$build" "$target"
    echo "kel_${target}_fuzzer: fuzzing for ${seconds}s"
    status=0
    "$fuzzer" $options $session -max_total_time="$seconds" \
        -artifact_prefix="$build/crashes/$target-" "$build/corpus/$target" \
        >"$build/$target.log" 2>&1 || status=$?
    # A session can still end on the timeout or out-of-memory status when its
    # last job was stopped on a slow or memory-hungry input; only a crash is a
    # fault.
    if [ "$status" -ne 0 ] && [ "$status" -ne "$TIMEOUT_STATUS" ] &&
        [ "$status" -ne "$OOM_STATUS" ]; then
        echo "kel_${target}_fuzzer found a fault (log $build/$target.log, input in $build/crashes):"
        tail -n 40 "$build/$target.log"
        exit 1
    fi
    # The last progress line counts the slow and memory-hungry inputs too.
    grep -E "exec/s" "$build/$target.log" | tail -n 1
}

case "$1" in
build) [ $# -eq 2 ] || usage; build_targets "$2" ;;
fuzz) [ $# -eq 4 ] || usage; fuzz_target "$2" "$3" "$4" ;;
*) usage ;;
esac
