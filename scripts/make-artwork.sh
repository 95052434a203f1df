#!/usr/bin/env bash
# Draws the program's artwork with ImageMagick; the PNGs it writes are committed under shell/resources.
set -euo pipefail
out="$(dirname "$0")/../shell/resources"
cd "$out"
font=DejaVu-Sans-Bold
# Toolbar: nine 16x15 images side by side (New, Open, Save, Cut, Copy, Paste, Move Up, Move Down, Help).
convert -size 144x15 xc:none \
  -fill white -stroke '#303030' -draw "polygon 3,1 10,1 13,4 13,14 3,14" -draw "line 10,1 10,4" -draw "line 10,4 13,4" \
  -fill '#f0c040' -stroke '#806010' -draw "polygon 17,4 22,4 23,6 31,6 31,14 17,14" -fill '#f8dc80' -draw "polygon 19,8 32,8 30,14 17,14" \
  -fill '#3050a0' -stroke '#102040' -draw "rectangle 34,1 47,14" -fill white -stroke none -draw "rectangle 37,2 44,7" -fill '#c0c0c0' -draw "rectangle 37,10 44,14" \
  -stroke '#202020' -fill none -draw "line 52,1 59,9" -draw "line 59,1 52,9" -draw "circle 52,12 54,12" -draw "circle 59,12 61,12" \
  -fill white -stroke '#303030' -draw "rectangle 65,1 73,10" -draw "rectangle 69,4 77,14" \
  -fill '#c08040' -stroke '#604020' -draw "rectangle 81,2 92,14" -fill white -stroke '#303030' -draw "rectangle 85,5 94,14" -fill '#808080' -stroke none -draw "rectangle 84,1 89,3" \
  -fill '#208020' -stroke '#105010' -draw "polygon 104,1 110,8 106,8 106,14 102,14 102,8 98,8" \
  -fill '#208020' -stroke '#105010' -draw "polygon 120,14 126,7 122,7 122,1 118,1 118,7 114,7" \
  -fill '#ffff80' -stroke '#404040' -draw "circle 136,7 136,1" -fill '#202080' -stroke none -font $font -pointsize 10 -draw "text 133,11 '?'" \
  toolbar.png
# Program and document icons.
convert -size 32x32 xc:none -fill '#1c4587' -stroke '#0b2447' -draw "roundrectangle 1,1 30,30 5,5" \
  -fill white -stroke none -draw "rectangle 6,8 25,10" -draw "rectangle 6,14 25,16" -draw "rectangle 6,20 19,22" \
  -fill '#f1c232' -draw "polygon 21,19 28,23 21,27" vlconfig.png
convert -size 32x32 xc:none -fill white -stroke '#404040' -draw "polygon 5,1 21,1 27,7 27,30 5,30" -draw "line 21,1 21,7" -draw "line 21,7 27,7" \
  -fill '#1c4587' -stroke none -draw "rectangle 9,11 23,12" -draw "rectangle 9,16 23,17" -draw "rectangle 9,21 18,22" document.png
# About picture, 80x40.
convert -size 80x40 xc:white -fill '#1c4587' -draw "roundrectangle 2,4 36,35 4,4" -fill white -draw "rectangle 7,11 31,13" -draw "rectangle 7,18 31,20" -draw "rectangle 7,25 24,27" \
  -fill '#1c4587' -font $font -pointsize 11 -draw "text 40,17 'Salvage'" -draw "text 40,31 'Deck'" -type TrueColor about.png
# General page picture, 144x80: a company word mark on white.
convert -size 144x80 xc:white -fill '#1c4587' -font $font -pointsize 22 -gravity center -draw "text 0,-8 'VELMORA'" \
  -fill '#f1c232' -draw "rectangle 22,50 122,53" -fill '#404040' -font DejaVu-Sans -pointsize 10 -draw "text 0,22 'Salvage Deck'" -type TrueColor general.png
