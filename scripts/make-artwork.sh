#!/usr/bin/env bash
# Draws the program's artwork with ImageMagick; the PNGs it writes are committed under shell/resources.
# Each image is drawn twice from the same figures: at its own size, and at twice that size ("@2x",
# which Qt picks on a screen scaled by 2) so that it stays sharp there.
# Every toolbar image has a dark outline around light parts, so it shows on a light toolbar and on a
# dark one alike.
set -euo pipefail
out="$(dirname "$0")/../shell/resources"
cd "$out"
bold=DejaVu-Sans-Bold
condensed=DejaVu-Sans-Condensed-Bold
book=DejaVu-Sans

# draw SCALE WIDTH HEIGHT BACKGROUND FILE DRAWING-OPTIONS...: the figures are given in the image's
# own pixels; at scale 2 each pixel centre goes to the centre of its 2x2 block.
draw() {
  local scale=$1 width=$2 height=$3 background=$4 file=$5
  shift 5
  local name=$file
  [ "$scale" = 1 ] || name="${file%.png}@${scale}x.png"
  local format=PNG32
  [ "$background" = none ] || format=PNG24
  local offset=0
  [ "$scale" = 1 ] || offset=$(awk "BEGIN { print ($scale - 1) / 2 }")
  convert -size "$((width * scale))x$((height * scale))" "xc:$background" \
    -affine "$scale,0,0,$scale,$offset,$offset" "$@" -define png:exclude-chunk=date,time "$format:$name"
}

for scale in 1 2; do
  # Toolbar: nine 16x15 images side by side (New, Open, Save, Cut, Copy, Paste, Move Up, Move Down, Help).
  draw $scale 144 15 none toolbar.png \
    -fill white -stroke '#303030' -draw "polygon 3,1 10,1 13,4 13,14 3,14" -draw "line 10,1 10,4" -draw "line 10,4 13,4" \
    -fill '#f0c040' -stroke '#806010' -draw "polygon 17,4 22,4 23,6 31,6 31,14 17,14" -fill '#f8dc80' -draw "polygon 19,8 31,8 29,14 17,14" \
    -fill '#3050a0' -stroke '#102040' -draw "rectangle 34,1 47,14" -fill white -stroke none -draw "rectangle 37,2 44,7" -fill '#c0c0c0' -draw "rectangle 37,10 44,14" \
    -stroke '#202020' -strokewidth 3 -fill none -draw "line 52,1 59,9" -draw "line 59,1 52,9" \
    -stroke '#e8e8e8' -strokewidth 1 -draw "line 52,1 59,9" -draw "line 59,1 52,9" \
    -stroke '#601010' -fill '#e04040' -draw "circle 52,12 54,12" -draw "circle 59,12 61,12" -fill white -stroke none -draw "point 52,12" -draw "point 59,12" \
    -fill white -stroke '#303030' -draw "rectangle 65,1 73,10" -draw "rectangle 69,4 77,14" \
    -fill '#c08040' -stroke '#604020' -draw "rectangle 81,2 92,14" -fill white -stroke '#303030' -draw "rectangle 85,5 94,14" -fill '#808080' -stroke none -draw "rectangle 84,1 89,3" \
    -fill '#30b030' -stroke '#0c400c' -draw "polygon 104,1 110,8 106,8 106,14 102,14 102,8 98,8" \
    -fill '#30b030' -stroke '#0c400c' -draw "polygon 120,14 126,7 122,7 122,1 118,1 118,7 114,7" \
    -fill '#ffff80' -stroke '#404040' -draw "circle 136,7 136,1" -fill '#202080' -stroke none -font $bold -pointsize 10 -draw "text 133,11 '?'"
  # Program and document icons.
  draw $scale 32 32 none vlconfig.png \
    -fill '#1c4587' -stroke '#0b2447' -draw "roundrectangle 1,1 30,30 5,5" \
    -fill white -stroke none -draw "rectangle 6,8 25,10" -draw "rectangle 6,14 25,16" -draw "rectangle 6,20 19,22" \
    -fill '#f1c232' -draw "polygon 21,19 28,23 21,27"
  draw $scale 32 32 none document.png \
    -fill white -stroke '#404040' -draw "polygon 5,1 21,1 27,7 27,30 5,30" -draw "line 21,1 21,7" -draw "line 21,7 27,7" \
    -fill '#1c4587' -stroke none -draw "rectangle 9,11 23,12" -draw "rectangle 9,16 23,17" -draw "rectangle 9,21 18,22"
  # About picture, 80x40: the emblem and the name, all of it inside the picture.
  draw $scale 80 40 white about.png \
    -fill '#1c4587' -draw "roundrectangle 2,5 31,34 4,4" -fill white -draw "rectangle 6,12 27,14" -draw "rectangle 6,19 27,21" -draw "rectangle 6,26 21,28" \
    -fill '#1c4587' -font $condensed -pointsize 10 -draw "text 35,18 'Salvage'" -draw "text 35,31 'Deck'"
  # General page picture, 144x80: a company word mark on white.
  draw $scale 144 80 white general.png \
    -fill '#1c4587' -font $bold -pointsize 22 -draw "text 12,41 'VELMORA'" \
    -fill '#f1c232' -draw "rectangle 22,50 122,53" -fill '#404040' -font $book -pointsize 10 -draw "text 38,66 'Salvage Deck'"
done
