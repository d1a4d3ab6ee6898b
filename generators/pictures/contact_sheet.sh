#!/bin/sh
# Makes docs/contact-sheet.png: every picture of resources/ scaled by 3 with
# nearest-neighbour sampling, its pure black (see-through in the demo) shown
# as a grey checker, and its file name underneath.
set -e
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:-$root/docs/contact-sheet.png}
font=/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
back='#202028'
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

convert -size 12x12 xc:'#5a5a5a' -fill '#7a7a7a' -draw 'rectangle 0,0 5,5 rectangle 6,6 11,11' "$tmp/tile.png"

# One labelled tile per picture.
tile() {
    name=$(basename "$1" .png)
    convert "$1" -transparent '#000000' -scale 300% "$tmp/scaled.png"
    width=$(identify -format '%w' "$tmp/scaled.png")
    height=$(identify -format '%h' "$tmp/scaled.png")
    # Small pictures get a wider tile so their names fit.
    wide=$(( width < 150 ? 150 : width ))
    convert -size "${width}x${height}" tile:"$tmp/tile.png" "$tmp/scaled.png" -composite +repage \
        -background "$back" -gravity north -extent "${wide}x${height}" \
        -background "$back" -gravity south -splice 0x26 -font "$font" -pointsize 16 -fill white \
        -annotate +0+4 "$name" -bordercolor "$back" -border 12 "$tmp/tile-$name.png"
    echo "$tmp/tile-$name.png"
}

# A row of tiles, tops aligned.
row() {
    output=$1
    shift
    files=""
    for f in "$@"; do files="$files $(tile "$root/resources/$f")"; done
    # shellcheck disable=SC2086
    convert -background "$back" -gravity north $files +append "$output"
}

row "$tmp/row1.png" 141-title.png 233-background.png
row "$tmp/row2.png" 183-font.png 127-logo.png
row "$tmp/row3.png" 220-card-years.png 225-card-code.png 226-card-graphics.png 227-card-music.png \
    228-card-greetings.png 229-card-emblem.png
row "$tmp/row4.png" 198-orb-small.png 199-orb-medium.png 201-orb-large.png
convert -background "$back" -gravity northwest "$tmp"/row1.png "$tmp"/row2.png "$tmp"/row3.png "$tmp"/row4.png \
    -append -depth 8 -strip -define png:exclude-chunks=date,time "$out"
echo "wrote $out"
