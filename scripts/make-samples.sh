#!/usr/bin/env bash
# Draws a few sample pictures of the project's own into a folder, as 24-bit bitmaps:
#   scripts/make-samples.sh FOLDER
set -euo pipefail
out=$1
mkdir -p "$out"
size=640x480
convert -size "$size" gradient:'#0b1d51'-'#f6a14a' \
  -fill '#ffe08a' -draw 'circle 470,300 470,250' \
  -fill '#1b2631' -draw 'polygon 0,480 0,380 120,300 240,370 380,280 520,360 640,320 640,480' \
  BMP3:"$out/sunset.bmp"
convert -size "$size" gradient:'#a8e0ff'-'#e8f7ff' \
  -fill '#3d7d3d' -draw 'polygon 0,480 0,330 160,250 330,340 470,230 640,320 640,480' \
  -fill '#ffffff' -draw 'polygon 430,270 470,230 510,268 490,262 470,275 450,262' \
  BMP3:"$out/mountains.bmp"
convert -size "$size" xc:'#102a43' \
  -fill '#f0b429' -draw 'rectangle 60,60 300,300' \
  -fill '#e12d39' -draw 'circle 430,170 430,60' \
  -fill '#27ab83' -draw 'polygon 100,440 320,330 540,440' \
  BMP3:"$out/shapes.bmp"
convert -size 320x240 plasma:'#2e86de'-'#ee5253' -seed 7 BMP3:"$out/plasma.bmp" 2>/dev/null ||
  convert -size 320x240 gradient:'#2e86de'-'#ee5253' BMP3:"$out/plasma.bmp"
