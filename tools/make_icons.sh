#!/bin/sh
# Renders the program icon's PNGs from its SVG master (ImageMagick 6).
# 32 x 32 is drawn large and scaled down for smooth diagonals; 16 x 16 is drawn at size
# without antialiasing, which keeps its strokes one pixel wide and sharp. Both are
# reduced to 16 colours, as the icon has always been.
set -eu
cd "$(dirname "$0")/../src/platform/icons"

convert -background none -density 768 mirvo.svg -resize 32x32 \
    +dither -colors 16 -strip PNG8:mirvo-32.png
convert -background none +antialias -density 48 mirvo.svg \
    +dither -colors 16 -strip PNG8:mirvo-16.png
