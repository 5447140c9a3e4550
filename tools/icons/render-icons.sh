#!/usr/bin/env bash
# Renders the application icon res/icons/telquest.svg into the PNG sizes the
# window and the desktop icon theme use: res/icons/telquest-<size>.png.
# Needs rsvg-convert (Debian package librsvg2-bin). Run after editing the SVG
# and commit the PNGs with it:
#   tools/icons/render-icons.sh
set -euo pipefail
cd "$(dirname "$0")/../.."

command -v rsvg-convert >/dev/null || {
  echo "render-icons: rsvg-convert not found (apt-get install librsvg2-bin)" >&2
  exit 1
}

for size in 16 24 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" --format png \
    --output "res/icons/telquest-$size.png" res/icons/telquest.svg
done
echo "render-icons: res/icons/telquest-{16,24,32,48,64,128,256}.png written"
