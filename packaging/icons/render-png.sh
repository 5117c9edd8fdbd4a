#!/usr/bin/env bash
# Renders the PNG sizes of the application icon from its SVG. The PNGs are checked in so that
# building needs no SVG renderer; run this after changing the SVG (needs rsvg-convert, Debian
# package librsvg2-bin) and commit the result.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 128 256; do
    mkdir -p "${size}x${size}"
    rsvg-convert -w "$size" -h "$size" com.scribvane.Scribvane.svg \
        -o "${size}x${size}/com.scribvane.Scribvane.png"
done
