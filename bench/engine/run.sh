#!/usr/bin/env bash
# The engine measured beside the peer engines on this machine: start-up to the
# first non-black frame, resident memory once the first message is typed, CPU
# while idle on that finished message (each the median of RUNS runs), and the
# update + draw CPU per frame while a message types (99th percentile).
#
# usage: bench/engine/run.sh BUILD_FOLDER
#   RUNS=7               measured runs per engine (one warm-up run before them)
#   ENGINES="onscripter renpy"   the peers to measure beside the engine
#   PEERS_DIR=DIR        the peer runner; default ../shared/peers beside the
#                        repository (skipped, with a note, when absent; a peer
#                        whose package is not installed is skipped too: its
#                        README names the packages)
#
# The bench game (data/ beside this script) plays the peers' scene: an
# 800 x 600 picture on the title screen, "はじめから" chosen with Z, one typed
# Japanese line, a two-item menu. Everything made lives in a temporary folder
# removed at exit.
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
REPO=$(cd "$HERE/../.." && pwd)
RUNS=${RUNS:-7}
export RUNS
ENGINES=${ENGINES-"onscripter renpy"}
PEERS_DIR=${PEERS_DIR:-$REPO/../shared/peers}
TITLE="Kura bench"
FONT=${FONT:-$(fc-list -f '%{file}\n' 'IPAMincho' 2>/dev/null | sort | head -1 || true)}

if [ $# -ne 1 ]; then
    echo "usage: $0 BUILD_FOLDER" >&2
    exit 2
fi
KURA=$(cd "$1" && pwd)/kura
[ -x "$KURA" ] || { echo "run.sh: $KURA not built" >&2; exit 2; }
for tool in Xvfb xdotool convert cc python3 fc-list; do
    command -v "$tool" >/dev/null || { echo "run.sh: missing $tool" >&2; exit 2; }
done
if [ -z "$FONT" ] || [ ! -e "$FONT" ]; then
    echo "run.sh: IPA Mincho font not found (set FONT)" >&2
    exit 2
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/kura-bench.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
trap 'exit 130' INT TERM

# The peers' background picture, stretched to the 960 x 640 canvas that the
# 800 x 600 window shows whole.
make_picture() {
    convert -size 800x600 gradient:'#4a78b0'-'#d8e8f0' \
        -fill '#3c8c3c' -draw 'rectangle 0,450 800,600' \
        -fill '#f0e0a0' -draw 'circle 650,120 650,170' \
        -resize '960x640!' png24:"$1"
}

# prepare_game DIR START_FILE: a game folder that starts the story at START_FILE.
prepare_game() {
    local dir=$1 start=$2
    mkdir -p "$dir"
    cp -r "$HERE/data" "$dir/"
    sed -i "s/^\(global string start_scenario_file = \).*/\1\"$start\";/" \
        "$dir/data/setting.kel"
    mkdir -p "$dir/data/font" "$dir/data/image"
    cp "$FONT" "$dir/data/font/ipam.ttf"
    make_picture "$dir/data/Default@2x.png"
    convert -size 64x64 xc:'#c04040' png24:"$dir/data/image/ep_player.png"
}

prepare_game "$WORK/scene" 001.kel
prepare_game "$WORK/typing" 002.kel
cc -O2 -shared -fPIC -o "$WORK/frame_clock.so" "$HERE/frame_clock.c" -ldl
LAUNCH_LOG="$WORK/launch.log"
: >"$LAUNCH_LOG"
LAUNCH=("$HERE/launch.sh" "$KURA" "$TITLE" "$LAUNCH_LOG")

cpu=$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')
echo "# machine: $(nproc) cores, $cpu, $(. /etc/os-release && echo "$PRETTY_NAME");" \
     "load before: $(cut -d' ' -f1-3 /proc/loadavg)"

# A peer whose program is not installed is left out with a note.
installed_peers() {
    local e program kept=""
    for e in $ENGINES; do
        program=${e%%-*} # renpy-min is played by renpy
        if PATH="$PATH:/usr/games" command -v "$program" >/dev/null; then
            kept="$kept $e"
        else
            echo "# peer $e skipped: $program is not installed" >&2
        fi
    done
    echo "$kept"
}

FIGURES="$WORK/figures"
if [ -x "$PEERS_DIR/run.sh" ]; then
    ENGINES="$(installed_peers)" "$PEERS_DIR/run.sh" --engine kura "$WORK/scene" -- "${LAUNCH[@]}" \
        | tee "$FIGURES"
else
    echo "# peers not found at $PEERS_DIR: measuring the engine alone"
    python3 "$HERE/measure.py" screen "$WORK/scene" "$RUNS" -- "${LAUNCH[@]}" | tee "$FIGURES"
fi
FRAME_CLOCK_DIR="$WORK" python3 "$HERE/measure.py" frames "$WORK/typing" "$TITLE" -- "$KURA" \
    | tee -a "$FIGURES"

# Every start of the engine must have left the title menu, or its figures
# describe the title screen instead of the message.
starts=$(grep -c '^launch$' "$LAUNCH_LOG" || true)
decided=$(grep -c '^result=0 ' "$LAUNCH_LOG" || true)
if [ "$starts" != "$decided" ]; then
    echo "run.sh: only $decided of $starts engine runs left the title menu;" \
         "its figures are not valid" >&2
    exit 1
fi
echo "# load after: $(cut -d' ' -f1-3 /proc/loadavg)"
python3 "$HERE/table.py" <"$FIGURES"
