#!/usr/bin/env bash
# Takes the screenshot that the AppStream metainfo shows (docs/screenshot.png):
# the built program, on the shipped data with the maps shown, answering a
# telephone number of area code 937,
# in a virtual X display. Builds nothing: give it the built program.
#   tools/screenshot/take-screenshot.sh [build/test/telquest]
# Needs xvfb-run, xdotool and ImageMagick's import (scripts/install-deps.sh tools).
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
program=$(realpath -- "${1:-build/test/telquest}")
[[ -x "$program" ]] || { echo "take-screenshot: no program at $program (build it first)" >&2; exit 1; }
for tool in xvfb-run xdotool import; do
  command -v "$tool" >/dev/null || { echo "take-screenshot: $tool not found" >&2; exit 1; }
done

folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cp res/cit.bin res/arc.bin res/exc.bin res/ctz.bin res/tzl.bin res/tqdata.manifest "$folder/"
echo 1 >"$folder/tqs.ini"  # maps shown

# Runs inside the virtual display: start, type the query, grab the window.
cat >"$folder/shoot.sh" <<'SHOT'
set -eu
"$1" &
window=$(xdotool search --sync --name '^Telquest Pro$' | head -1)
xdotool windowfocus --sync "$window" type --delay 20 '(937) 222-1234'
xdotool key --window "$window" Return
sleep 1  # the answer and the map are painted
import -window "$window" "$2"
kill $!
SHOT
(cd "$folder" && QT_QPA_PLATFORM=xcb xvfb-run -a -s '-screen 0 1024x768x24' \
  sh "$folder/shoot.sh" "$program" "$folder/shot.png")
convert "$folder/shot.png" -strip -define png:compression-level=9 "$root/docs/screenshot.png"
echo "take-screenshot: docs/screenshot.png written ($(du -k docs/screenshot.png | cut -f1) KiB)"
