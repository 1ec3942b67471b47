#!/bin/sh
# Renders the program icon's PNGs from its SVG master (ImageMagick 6).
# 32 x 32 is drawn large and scaled down for smooth diagonals; 16 x 16 is drawn at size
# without antialiasing, which keeps its strokes one pixel wide and sharp. Both are
# reduced to 16 colours, as the icon has always been.
# The desktop's menu takes larger sizes for the hicolor theme: full colour, drawn at
# four times the size and scaled down.
set -eu
cd "$(dirname "$0")/.."
icons=src/widgets/icons

convert -background none -density 768 $icons/mirvo.svg -resize 32x32 \
    +dither -colors 16 -strip PNG8:$icons/mirvo-32.png
convert -background none +antialias -density 48 $icons/mirvo.svg \
    +dither -colors 16 -strip PNG8:$icons/mirvo-16.png

for size in 48 64 128 256; do
    convert -background none -density $((72 * size * 4 / 32)) $icons/mirvo.svg \
        -resize ${size}x${size} -strip PNG32:packaging/icons/mirvo-$size.png
done
