#!/usr/bin/env bash
# Takes the screenshots of docs/screenshots/ under a virtual X display: the
# window answering "Dayton, OH" with the maps at screen scales 1, 1.5 and 2
# (the map artwork of the matching scale), the maps off, the suggestions for
# "dayt" and the city choice for "springfield". Builds nothing: give it the
# built program.
#   tools/screenshot/take-scale-screenshots.sh [build/test/telquest]
# Needs xvfb-run, xdotool and ImageMagick (scripts/install-deps.sh tools).
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
program=$(realpath -- "${1:-build/test/telquest}")
[[ -x "$program" ]] || { echo "take-scale-screenshots: no program at $program" >&2; exit 1; }
for tool in xvfb-run xdotool import convert; do
  command -v "$tool" >/dev/null || { echo "take-scale-screenshots: $tool not found" >&2; exit 1; }
done

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp res/cit.bin res/arc.bin res/exc.bin res/ctz.bin res/tzl.bin res/tqdata.manifest "$folder/"

# Runs inside the virtual display, in the data folder.
cat >"$folder/shoot.sh" <<'SHOT'
set -eu
program=$1 out=$2
start() {  # start SCALE MAPS [ARGS]: the window, once it is up
  echo "$2" >tqs.ini
  QT_SCALE_FACTOR=$1 "$program" "${@:3}" &
  window=$(xdotool search --sync --name '^Telquest Pro$' | head -1)
  sleep 1  # painted
}
for scale in 1 1.5 2; do
  start "$scale" 1 --query "Dayton, OH"
  import -window root "$out/map-scale$scale.png"
  kill $!
done
start 1 0 --query 937
import -window root "$out/maps-off.png"
kill $!
start 1 1
xdotool windowfocus --sync "$window" type --delay 60 dayt
sleep 0.5
import -window root "$out/suggestions.png"
xdotool key Escape
xdotool key ctrl+a
xdotool type --delay 20 springfield
xdotool key Escape
xdotool key Return
sleep 1
import -window root "$out/chooser.png"
kill $!
SHOT
mkdir -p "$folder/out"
(cd "$folder" && QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1600x1000x24' \
  bash "$folder/shoot.sh" "$program" "$folder/out")
mkdir -p docs/screenshots
for shot in "$folder"/out/*.png; do
  convert "$shot" -trim +repage -strip -define png:compression-level=9 \
    "$root/docs/screenshots/$(basename "$shot")"
done
echo "take-scale-screenshots: $(ls docs/screenshots | wc -l) screenshots in docs/screenshots"
