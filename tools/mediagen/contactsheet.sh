#!/bin/sh
# One PNG that shows a sample of every kind of generated picture, for looking
# the library over at a glance.
#
#   tools/mediagen/contactsheet.sh PROGRAM_DIR ART_DIR OUT.png
#   tools/mediagen/contactsheet.sh --backgrounds PROGRAM_DIR OUT.png
#
# PROGRAM_DIR holds shapes/, shapes1/ and backgrounds/ (quorvel-mediagen pictures),
# ART_DIR the built-in art (quorvel-mediagen art). Needs ImageMagick.
#
# With --backgrounds, the sheet shows every background stretched as the game
# window stretches it: to a window of 21:9, 16:9, 4:3 and 9:16, in that order.
# `quorvel-mediagen backgrounds DIR` draws only those into DIR.
set -eu
usage() {
    echo "usage: $0 PROGRAM_DIR ART_DIR OUT.png" >&2
    echo "       $0 --backgrounds PROGRAM_DIR OUT.png" >&2
    exit 2
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ "${1-}" = --backgrounds ]; then
    [ $# -eq 3 ] || usage
    lib=$2
    out=$3
    height=200
    set --
    n=0
    while [ -e "$lib/backgrounds/back$n.jpg" ]; do
        row=$work/row$n.png
        # The same picture in windows of four shapes, each the given height.
        convert "$lib/backgrounds/back$n.jpg" \
            \( -clone 0 -resize "$((height * 21 / 9))x$height!" \) \
            \( -clone 0 -resize "$((height * 16 / 9))x$height!" \) \
            \( -clone 0 -resize "$((height * 4 / 3))x$height!" \) \
            \( -clone 0 -resize "$((height * 9 / 16))x$height!" \) \
            -delete 0 -bordercolor '#d8d8d8' -border 6 +append "$row"
        set -- "$@" -label "back$n.jpg" "$row"
        n=$((n + 1))
    done
    [ $n -gt 0 ] || { echo "no backgrounds in $lib/backgrounds" >&2; exit 1; }
    montage -font DejaVu-Sans -pointsize 16 -title 'each background at 21:9, 16:9, 4:3 and 9:16' \
        "$@" -tile 2x -geometry +8+4 -background '#d8d8d8' "$out"
    echo "contact sheet: $out ($n backgrounds at four shapes)"
    exit 0
fi

[ $# -eq 3 ] || usage
lib=$1
art=$2
out=$3

sheet() {  # name tile geometry files...
    name=$1 tile=$2 geometry=$3
    shift 3
    montage -font DejaVu-Sans -pointsize 11 -label '%t' "$@" -tile "$tile" \
        -geometry "$geometry" -background '#d8d8d8' "$work/$name.png"
}

sample="cirwhite squgray heabrown stapink ovalpurple triorange pengreen octblack diared recyellow recblue"
set --
for s in $sample; do set -- "$@" "$lib/shapes/$s.jpg"; done
sheet standard 11x1 180x160+4+4 "$@"
set --
for s in $sample; do set -- "$@" "$lib/shapes1/$s.jpg"; done
sheet plastic 11x1 180x160+4+4 "$@"

# Every background and reward the library holds, numbered from 0 on.
set --
n=0
while [ -e "$lib/backgrounds/back$n.jpg" ]; do set -- "$@" "$lib/backgrounds/back$n.jpg"; n=$((n + 1)); done
backgrounds=$n
sheet backgrounds 5x 300x225+4+4 "$@"

set --
n=0
while [ -e "$lib/backgrounds/c$n.jpg" ]; do set -- "$@" "$lib/backgrounds/c$n.jpg"; n=$((n + 1)); done
rewards=$n
sheet rewards 10x 150x133+3+3 "$@"

set --
for b in lcy lcw lsy lsw pcy pcw psy psw; do set -- "$@" "$lib/backgrounds/$b.jpg"; done
for b in lcbut lsbut playcbut playshapes optionsokay aboutokay; do set -- "$@" "$art/$b.png"; done
sheet buttons 7x2 '202x64+6+6>' "$@"

set --
for a in aboutback selectback gradientaqua gradientyellowgreen gradientgreen heartstandard heartplastic; do
    set -- "$@" "$art/$a.png"
done
sheet art 7x1 '300x300+6+6>' "$@"

set --
for s in 16 24 32 48 64 128 256; do set -- "$@" "$art/icon$s.png"; done
sheet icons 7x1 '256x256+6+6>' "$@"

convert -background '#d8d8d8' "$work/standard.png" "$work/plastic.png" "$work/backgrounds.png" \
    "$work/rewards.png" "$work/buttons.png" "$work/art.png" "$work/icons.png" -gravity center \
    -append "$out"
echo "contact sheet: $out ($backgrounds backgrounds, $rewards rewards)"
