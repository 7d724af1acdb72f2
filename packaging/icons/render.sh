#!/usr/bin/env bash
# Renders the PNG sizes of the program icon from its SVG master (needs rsvg-convert from
# librsvg2-bin). Run after changing the SVG and commit the PNGs with it.
set -euo pipefail
cd "$(dirname "$0")"
name=de.vornwerk.VornScpiControl
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" "$name.svg" -o "$name-$size.png"
done
# The window icon in the program's resources is the same drawing (64x64, 32-bit with alpha,
# needs convert from imagemagick).
convert "$name-64.png" -define icon:format=bmp ../../app/resources/VornScpiControl64x64.ico
