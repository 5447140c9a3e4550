#!/usr/bin/env bash
# Takes the screenshots of docs/screenshots/ under virtual X displays: the
# window answering "(937) 222-1234", maps on and off, on the screens it is
# made to fit (1366x768 at scale 1, 1920x1080 at 1.5, 2560x1440 at 2,
# 1024x768 at 1), each the whole screen, so that what falls off it would
# show; then at 1366x768 the suggestions for "dayt", the city choice for
# "springfield", and the window made larger. Builds nothing: give it the built program.
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
cp res/*.bin res/tqdata.manifest "$folder/"

# Runs inside one virtual display, in the data folder: SCALE then the shots.
cat >"$folder/shoot.sh" <<'SHOT'
set -eu
program=$1 out=$2 scale=$3 name=$4
shift 4
start() {  # start MAPS [ARGS]: the window, once it is up
  echo "$1" >tqs.ini
  QT_SCALE_FACTOR=$scale "$program" "${@:2}" &
  window=$(xdotool search --sync --name '^Telquest Pro$' | head -1)
  sleep 1.5  # painted
}
for maps in 1 0; do
  start "$maps" --query "(937) 222-1234"
  import -window root "$out/$name-maps-$([ "$maps" = 1 ] && echo on || echo off).png"
  kill $!; wait $! 2>/dev/null || true
done
[ "$#" -gt 0 ] || exit 0
start 1
xdotool windowfocus --sync "$window" type --delay 60 dayt
xdotool key Down
sleep 0.5
import -window root "$out/suggestions.png"
xdotool key Escape ctrl+a
xdotool type --delay 20 springfield
xdotool key Return
sleep 1
import -window root "$out/chooser.png"
xdotool key Escape
xdotool windowmove "$window" 0 0 windowsize "$window" 1200 700
xdotool key ctrl+a
xdotool type --delay 20 "(937) 222-1234"
xdotool key Return
sleep 1
import -window root "$out/larger.png"
kill $!
SHOT
mkdir -p "$folder/out"
for screen in "1366x768 1 scale1 more" "1920x1080 1.5 scale1.5" "2560x1440 2 scale2" "1024x768 1 small"; do
  read -r size scale name more <<<"$screen"
  (cd "$folder" && QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 ${size}x24" \
    bash "$folder/shoot.sh" "$program" "$folder/out" "$scale" "$name" $more)
done
rm -rf docs/screenshots
mkdir -p docs/screenshots
for shot in "$folder"/out/*.png; do
  convert "$shot" -strip -define png:compression-level=9 "$root/docs/screenshots/$(basename "$shot")"
done
echo "take-scale-screenshots: $(ls docs/screenshots | wc -l) screenshots in docs/screenshots"
