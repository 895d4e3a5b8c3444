#!/usr/bin/env bash
# Draws the program's pictures with ImageMagick into this folder: the six faces of the
# decorative die (64 x 64), the question-mark badge of the main window's picture button with
# its disabled image (16 x 16), and the application icon (a die; 32, 48, 64, 128 and an SVG).
# The PNGs are committed; run this again only to change them (needs Debian's imagemagick and
# fonts-dejavu-core). Everything is drawn eight times larger and scaled down, for smooth edges.
set -euo pipefail
cd "$(dirname "$0")"
convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert

# A die face of value $1 drawn at 512 x 512 into $2: a rounded ivory body with a grey rim and
# a soft inner shade, black pips (the single pip of face 1 larger and red).
draw_face() {
    local value=$1 out=$2
    local lo=136 mid=256 hi=376 r=38
    local pips=()
    case $value in
        1) pips=("$mid $mid") ;;
        2) pips=("$hi $lo" "$lo $hi") ;;
        3) pips=("$hi $lo" "$mid $mid" "$lo $hi") ;;
        4) pips=("$lo $lo" "$hi $lo" "$lo $hi" "$hi $hi") ;;
        5) pips=("$lo $lo" "$hi $lo" "$mid $mid" "$lo $hi" "$hi $hi") ;;
        6) pips=("$lo $lo" "$hi $lo" "$lo $mid" "$hi $mid" "$lo $hi" "$hi $hi") ;;
    esac
    local draw=()
    for p in "${pips[@]}"; do
        set -- $p
        if [ "$value" = 1 ]; then
            draw+=(-fill '#C8102E' -draw "circle $1,$2 $(( $1 + 58 )),$2")
        else
            draw+=(-fill '#1A1A1A' -draw "circle $1,$2 $(( $1 + r )),$2")
        fi
    done
    "$convert" -size 512x512 xc:none \
        -fill '#5A5248' -draw "roundrectangle 12,12 499,499 84,84" \
        -fill '#FFFDF4' -draw "roundrectangle 28,28 483,483 72,72" \
        -fill '#EFE9D8' -draw "roundrectangle 44,60 483,483 64,64" \
        -fill '#FFFDF4' -draw "roundrectangle 28,28 467,451 64,64" \
        "${draw[@]}" \
        "$out"
}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for v in 1 2 3 4 5 6; do
    draw_face "$v" "$tmp/face$v.png"
    "$convert" "$tmp/face$v.png" -filter Lanczos -resize 64x64 -strip "PNG32:die$v.png"
done

# The question-mark badge: a red question mark on a circular pale-yellow badge; the disabled
# image is the same in greys.
badge() {
    local fill=$1 rim=$2 mark=$3 out=$4
    "$convert" -size 128x128 xc:none \
        -fill "$rim" -draw "circle 64,64 64,4" \
        -fill "$fill" -draw "circle 64,64 64,14" \
        -font DejaVu-Sans-Bold -pointsize 100 -fill "$mark" -gravity center \
        -annotate +0+4 '?' \
        -filter Lanczos -resize 16x16 -strip "PNG32:$out"
}
badge '#FFF6A8' '#B89B2C' '#D40000' help.png
badge '#EBEBEB' '#A8A8A8' '#8C8C8C' help-disabled.png

# The application icon: face 5 of the die, tilted a little, with a soft shadow.
"$convert" "$tmp/face5.png" -background none -rotate -12 -resize 448x448 "$tmp/tilted.png"
"$convert" "$tmp/tilted.png" \( +clone -background '#00000080' -shadow 60x12+10+14 \) \
    +swap -background none -layers merge +repage -gravity center -extent 512x512 "$tmp/icon.png"
for s in 32 48 64 128; do
    "$convert" "$tmp/icon.png" -filter Lanczos -resize ${s}x${s} -strip "PNG32:tavrix-$s.png"
done
