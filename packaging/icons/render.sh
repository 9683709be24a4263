#!/usr/bin/env bash
# Renders the program icon in the sizes of the hicolor icon theme from
# resources/art/lumbra.svg. Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"

for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" -o "lumbra-$size.png" ../../resources/art/lumbra.svg
    echo "rendered lumbra-$size.png (${size}x${size})"
done
