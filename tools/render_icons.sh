#!/bin/sh
# Renders every SVG icon in data/icons to the 32 x 32 PNG beside it, the
# form the program loads. Run after changing an icon; the PNGs are committed
# so a build needs no SVG renderer.
set -eu
dir=$(dirname "$0")/../data/icons
for svg in "$dir"/*.svg; do
  convert -background none -density 96 "$svg" -resize 32x32 "PNG32:${svg%.svg}.png"
done
