#!/usr/bin/env bash
# Renders the window icon ui/icons/tarnel.svg into the PNG sizes the desktop
# and the window use. The PNGs are committed; run this after changing the SVG.
# Needs ImageMagick (apt-get install imagemagick).
set -euo pipefail
cd "$(dirname "$0")/../ui/icons"
command -v convert >/dev/null || { echo "make-icons.sh needs ImageMagick's convert" >&2; exit 1; }
for size in 16 24 32 48 64 256; do
  # Rendered large and scaled down, so that small sizes are smoothed.
  convert -background none -density 384 tarnel.svg -resize "${size}x${size}" \
    -depth 8 -strip -define png:exclude-chunks=date,time "png32:tarnel_${size}.png"
done
