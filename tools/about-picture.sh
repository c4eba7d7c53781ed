#!/usr/bin/env bash
# Draws the About window's picture, resources/about.bmp (105x40) and about@2x.bmp (210x80)
# for screens at twice the pixels, from the same shapes so the two always match (ImageMagick,
# DejaVu Sans Condensed Bold).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
font=/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf
draw() {
    local s=$1 out=$2
    # The coin's centre and top sit between pixels at 1x.
    local x top
    x=$(awk "BEGIN { print 19.5 * $s }")
    top=$(awk "BEGIN { print 6.5 * $s }")
    convert -size $((105 * s))x$((40 * s)) 'gradient:rgb(0,96,96)-rgb(0,192,192)' \
        -fill 'rgb(255,224,112)' -stroke 'rgb(128,64,0)' -strokewidth "$s" \
        -draw "circle $x,$((20 * s)) $x,$top" \
        -stroke none -fill 'rgb(128,64,0)' -font "$font" -pointsize $((14 * s)) \
        -gravity NorthWest -annotate +$((10 * s))+$((10 * s)) 'лв' \
        -fill white -pointsize $((13 * s)) -annotate +$((39 * s))+$((12 * s)) 'Курсове' \
        -type TrueColor "BMP3:$out"
}
draw 1 "$ROOT/resources/about.bmp"
draw 2 "$ROOT/resources/about@2x.bmp"
