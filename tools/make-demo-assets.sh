#!/bin/bash
# Makes every picture and sound of the demo game "星見の丘" under data/:
# the title picture, the player picture, the backgrounds, the characters'
# faces, the menu and message sounds, the typing sounds and two pieces of
# music. Needs ImageMagick (convert), sox and the IPA fonts; the outputs are
# small and committed, so this only runs again when a picture or sound changes.
# The same tools give the same files: nothing here is random, and PNG time
# stamps are left out.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
DATA="$ROOT/data"
GAME="$DATA/demo"
FONT_MINCHO=/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf
FONT_GOTHIC=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

mkdir -p "$DATA/image" "$GAME/image/bg" "$GAME/image/chara" "$GAME/sound/bgm" "$GAME/sound/se"

# Every picture goes through here; the last argument is the output file. PNG
# time stamps are left out, so a file only changes when its drawing does.
png() { convert "${@:1:$#-1}" -define png:exclude-chunks=date,time "${@: -1}"; }

# Small stars as drawing primitives, from a fixed linear congruential
# sequence (its high bits) so the sky is the same on every run:
# stars COUNT WIDTH HEIGHT SEED
stars() {
    awk -v n="$1" -v w="$2" -v h="$3" -v s="$4" '
        function next_value(limit) { s = (s * 1103515245 + 12345) % 2147483648; return int(s / 65536) % limit }
        BEGIN {
            for (i = 0; i < n; i++) {
                x = next_value(w); y = next_value(h); r = 1 + next_value(2);
                printf "circle %d,%d %d,%d ", x, y, x + r, y;
            }
        }'
}

# --- Pictures -------------------------------------------------------------

# Title picture: fills the 960 x 640 screen behind the title menu, which the
# engine centres at y 250; a darker band keeps the menu readable.
title_picture() {
    png \( -size 960x400 gradient:'#070b24'-'#2c3266' \) \
        \( -size 960x240 gradient:'#2c3266'-'#d98a66' \) -append \
        -fill white -draw "$(stars 90 960 360 11)" \
        "$GAME/image/bg/moon.png" -geometry +742+62 -composite \
        -fill '#141a30' -draw 'ellipse 250,700 420,170 0,360' \
        -fill '#0d1224' -draw 'ellipse 760,720 460,200 0,360' \
        -fill '#00000070' -draw 'roundrectangle 330,232 630,340 12,12' \
        -font "$FONT_MINCHO" -pointsize 72 -fill '#fdf0c8' -gravity north \
        -annotate +0+82 '星見の丘' \
        -font "$FONT_GOTHIC" -pointsize 20 -fill '#c8cde8' -annotate +0+180 'Kura デモゲーム' \
        PNG32:"$DATA/Default@2x.png"
}

# The player's own picture, texture slot 0 of the engine.
player_picture() {
    png -size 64x64 xc:none -fill '#2c3266' -draw 'roundrectangle 0,0 63,63 10,10' \
        -fill '#fdf0c8' -draw 'circle 32,24 32,36' -draw 'ellipse 32,62 22,18 180,360' \
        PNG32:"$DATA/image/ep_player.png"
}

# One panel of the sky sheet, 460 x 230, with two hills in front:
# sky_panel OUT SKY_TOP SKY_BOTTOM NEAR_HILL FAR_HILL [DRAWING...]
sky_panel() {
    local out=$1 top=$2 bottom=$3 near=$4 far=$5
    shift 5
    png -size 460x230 gradient:"$top"-"$bottom" "$@" \
        -fill "$far" -draw 'ellipse 110,250 200,80 0,360' \
        -fill "$near" -draw 'ellipse 360,265 220,90 0,360' \
        "$out"
}

# Three skies side by side (dusk, night, dawn); a scene shows one of them by
# its image rectangle and stretches it over the stage.
sky_sheet() {
    sky_panel "$WORK/dusk.png" '#3b3f7e' '#f0a070' '#2a2236' '#3a3048' \
        -fill '#fff3c0' -draw 'circle 330,170 330,186'
    sky_panel "$WORK/night.png" '#03061a' '#1c2650' '#0a0d1c' '#141a30' \
        -fill white -draw "$(stars 60 460 180 23)"
    sky_panel "$WORK/dawn.png" '#6d86c4' '#f7d3a0' '#3b4560' '#56607a' \
        -fill '#fffbe8' -draw 'circle 250,178 250,198'
    png "$WORK/dusk.png" "$WORK/night.png" "$WORK/dawn.png" +append PNG24:"$GAME/image/bg/sky.png"
}

# The moon above the hill: a crescent cut out of a disc. Flipped, it is the
# waning moon of the morning.
moon_picture() {
    png -size 96x96 xc:none -fill '#f5e6b8' -draw 'circle 48,48 48,8' \
        \( -size 96x96 xc:none -fill black -draw 'circle 66,38 66,2' \) \
        -compose DstOut -composite PNG32:"$GAME/image/bg/moon.png"
}

# A dark see-through backing for menus; a window stretches it to any size.
panel_picture() {
    png -size 8x8 xc:'#080c20b4' PNG32:"$GAME/image/bg/panel.png"
}

# The eyes and mouth of one expression (0 plain, 1 smiling, 2 surprised),
# as drawing arguments for a 200 x 400 character.
expression() {
    case $1 in
    0) FEATURES=(-fill '#2a2030' -draw 'ellipse 80,108 6,9 0,360' -draw 'ellipse 120,108 6,9 0,360'
                 -stroke '#8a4a4a' -strokewidth 3 -draw 'line 92,138 108,138') ;;
    1) FEATURES=(-fill none -stroke '#2a2030' -strokewidth 3
                 -draw 'arc 72,104 88,116 180,360' -draw 'arc 112,104 128,116 180,360'
                 -stroke '#8a4a4a' -draw 'arc 88,128 112,146 0,180' -stroke none
                 -fill '#f4a0a0' -draw 'ellipse 70,126 9,5 0,360' -draw 'ellipse 130,126 9,5 0,360') ;;
    *) FEATURES=(-fill '#2a2030' -draw 'ellipse 80,106 8,12 0,360' -draw 'ellipse 120,106 8,12 0,360'
                 -fill white -draw 'circle 82,102 84,102' -draw 'circle 122,102 124,102'
                 -fill '#8a4a4a' -draw 'ellipse 100,140 6,8 0,360') ;;
    esac
}

# One face of a character, 200 x 400 on a clear ground, standing on its
# lower edge: face OUT HAIR COAT SCARF LONG_HAIR(0/1) EXPRESSION
face() {
    local out=$1 hair=$2 coat=$3 scarf=$4 long=$5
    local back=()
    [ "$long" = 1 ] && back=(-fill "$hair" -draw 'ellipse 100,150 72,120 0,360')
    expression "$6"
    png -size 200x400 xc:none "${back[@]}" \
        -fill "$coat" -draw 'polygon 34,400 58,196 142,196 166,400' \
        -fill "$scarf" -draw 'roundrectangle 62,180 138,206 10,10' \
        -fill '#f3d6c0' -draw 'rectangle 88,150 112,186' -draw 'ellipse 100,104 52,58 0,360' \
        -fill "$hair" -draw 'ellipse 100,76 56,36 180,360' -draw 'polygon 44,74 156,74 150,96 50,96' \
        "${FEATURES[@]}" PNG32:"$out"
}

# Two characters with three faces each: Aoi (long dark hair, blue coat) and
# Ren (short brown hair, green coat).
characters() {
    for expression in 0 1 2; do
        face "$GAME/image/chara/aoi_$expression.png" '#232a48' '#7fa7d9' '#c8464a' 1 "$expression"
        face "$GAME/image/chara/ren_$expression.png" '#5a3a28' '#6f9a6a' '#e0c068' 0 "$expression"
    done
}

# The narrator's mark beside the message: a small star.
narrator_picture() {
    png -size 64x64 xc:none -fill '#f7d98a' \
        -draw 'polygon 32,4 39,24 60,24 43,37 49,58 32,46 15,58 21,37 4,24 25,24' \
        PNG32:"$GAME/image/chara/narrator.png"
}

# --- Sounds ---------------------------------------------------------------

# Short effects: mono, 22050 Hz, 16 bit; -R keeps sox repeatable.
se() { local out=$1; shift; sox -R -n -r 22050 -b 16 -c 1 "$GAME/sound/se/$out" "$@"; }

# Sine tones one after another, each with a short fade so nothing clicks:
# tones OUT VOLUME LENGTH FREQUENCY [LENGTH FREQUENCY...]
tones() {
    local out=$1 volume=$2 parts=() i=0
    shift 2
    while [ $# -ge 2 ]; do
        i=$((i + 1))
        sox -R -n -r 22050 -b 16 -c 1 "$WORK/tone$i.wav" synth "$1" sine "$2" fade 0.005 "$1" 0.02
        parts+=("$WORK/tone$i.wav")
        shift 2
    done
    sox -R "${parts[@]}" "$GAME/sound/se/$out" vol "$volume"
}

sound_effects() {
    tones decide.wav 0.5 0.05 880 0.08 1320    # advancing a message, deciding a choice
    tones cancel.wav 0.5 0.06 660 0.09 440     # closing a sub-menu
    tones cursor.wav 0.35 0.03 1200            # moving the menu cursor
    # Typing sounds, one voice each.
    se type_aoi.wav synth 0.03 square 1046 fade 0 0.03 0.025 vol 0.12
    se type_ren.wav synth 0.03 square 523 fade 0 0.03 0.025 vol 0.14
    se type_narrator.wav synth 0.025 sine 784 fade 0 0.025 0.02 vol 0.2
    # Effects the scenario loads itself.
    se chime.wav synth 1.6 pluck E6 fade 0 1.6 1.4 vol 0.5
    se wind.wav synth 2.5 brownnoise lowpass 500 fade 0.8 2.5 1.0 vol 0.6
}

# A plucked tune over a held low fifth, as Ogg Vorbis:
# tune OUT ROOT FIFTH LENGTH NOTE LENGTH NOTE ...
tune() {
    local out=$1 root=$2 fifth=$3
    shift 3
    local notes=() total=0 i=0
    while [ $# -ge 2 ]; do
        i=$((i + 1))
        sox -R -n -r 22050 -c 1 "$WORK/note$i.wav" synth "$1" pluck "$2" fade 0 "$1" 0.05
        notes+=("$WORK/note$i.wav")
        total=$(awk -v a="$total" -v b="$1" 'BEGIN { print a + b }')
        shift 2
    done
    sox -R "${notes[@]}" "$WORK/melody.wav"
    sox -R -n -r 22050 -c 1 "$WORK/root.wav" synth "$total" sine "$root" fade 0.4 "$total" 0.4
    sox -R -n -r 22050 -c 1 "$WORK/fifth.wav" synth "$total" sine "$fifth" fade 0.4 "$total" 0.4
    sox -R -m -v 0.75 "$WORK/melody.wav" -v 0.15 "$WORK/root.wav" -v 0.1 "$WORK/fifth.wav" \
        -C 2 "$GAME/sound/bgm/$out" norm -3
}

music() {
    # The hill at dusk: a bright pentatonic walk, looping every eight bars.
    tune hill.ogg C3 G3 \
        0.3 C5 0.3 D5 0.3 E5 0.6 G5 0.3 E5 0.3 D5 0.6 C5 \
        0.3 D5 0.3 E5 0.3 G5 0.6 A5 0.3 G5 0.3 E5 0.6 D5 \
        0.3 C5 0.3 D5 0.3 E5 0.6 G5 0.3 A5 0.3 G5 0.6 E5 \
        0.3 D5 0.3 E5 0.3 D5 0.6 C5 0.6 G4 0.6 C5
    # The night sky: slower, in A minor.
    tune night.ogg A2 E3 \
        0.45 A4 0.45 C5 0.9 E5 0.45 D5 0.45 C5 0.9 A4 \
        0.45 G4 0.45 A4 0.9 C5 0.45 E5 0.45 D5 0.9 C5 \
        0.45 A4 0.45 C5 0.9 D5 0.45 E5 0.45 G5 0.9 E5 \
        0.45 D5 0.45 C5 0.9 A4 1.8 A4
}

moon_picture
title_picture
player_picture
sky_sheet
panel_picture
characters
narrator_picture
sound_effects
music
du -sh "$DATA" --exclude=font --exclude=save
