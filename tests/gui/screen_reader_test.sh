#!/usr/bin/env bash
# The lookup window as a screen-reader user hears it: the real program under
# Xvfb with Orca running, driven by key presses, and what Orca presents read
# from its debug log. Each new answer is spoken once, with its local time and
# verdict, while the keyboard stays in the field; typing a place never
# speaks a suggestion, Down speaks the one it makes active, and Escape brings
# the field back.
#   dbus-run-session -- bash screen_reader_test.sh PROGRAM DATA_FOLDER
# Exits 77 (skipped) when Xvfb, Orca or xdotool is missing.
set -u
program=$(realpath -- "$1")
data=$(realpath -- "$2")
for tool in Xvfb orca xdotool; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
launcher=/usr/libexec/at-spi-bus-launcher
[[ -x $launcher ]] || { echo "skipped: at-spi2-core is not installed"; exit 77; }

scratch=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$scratch"
}
trap cleanup EXIT
failures=0
log=$scratch/orca.log
heard=0  # lines of speech already looked at

ok() { echo "ok    $1"; }
fail() { echo "FAIL  $1"; failures=$((failures + 1)); }
speech() { grep -a "SPEECH OUTPUT:" "$log" 2>/dev/null; }
# Waits up to 10 s for a new line of speech that matches the extended regular
# expression, into `last`. The lines up to it count as heard.
last=""
hear() {
  local line n
  for _ in $(seq 200); do
    n=0
    while IFS= read -r line; do
      n=$((n + 1))
      if ((n > heard)) && [[ $line =~ $1 ]]; then
        heard=$n
        last=$line
        return 0
      fi
    done < <(speech)
    sleep 0.05
  done
  return 1
}
# Everything said since the last line heard, after a quiet moment.
said_since() {
  sleep "${1:-1}"
  speech | tail -n +$((heard + 1))
}
expect_heard() {  # expect_heard WHAT REGEX
  if hear "$2"; then ok "$1: ${last#*SPEECH OUTPUT: }"; else
    fail "$1: nothing matched /$2/ in:"; said_since 0 | sed 's/^/        /'; fi
}
keys() { xdotool key --delay 60 "$@"; }
typed() { xdotool type --delay 90 "$1"; }

mkdir "$scratch/home" "$scratch/data" "$scratch/runtime"
chmod 700 "$scratch/runtime"
cp "$data"/*.bin "$data"/tqdata.manifest "$scratch/data/" 2>/dev/null
export HOME=$scratch/home XDG_CONFIG_HOME=$scratch/home/.config XDG_RUNTIME_DIR=$scratch/runtime
exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [[ -s $scratch/display ]] && break; sleep 0.05; done
export DISPLAY=:$(head -1 "$scratch/display")
$launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
gsettings set org.gnome.desktop.interface toolkit-accessibility true 2>/dev/null
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb
# Orca's log is written a line at a time, so that it can be read as it grows.
mkdir -p "$HOME/.local/share/orca"
echo 'import orca.debug; orca.debug.debugFile.reconfigure(line_buffering=True)' \
  >"$HOME/.local/share/orca/orca-customizations.py"
orca --replace --debug-file="$log" >/dev/null 2>&1 &
pids+=($!)
hear "Screen reader on" || { echo "FAIL  Orca did not start"; exit 1; }

(cd "$scratch/data" && exec "$program") >"$scratch/program.out" 2>&1 &
pids+=($!)
window=$(timeout 20 xdotool search --sync --name '^Telquest Pro$' | head -1)
[[ -n $window ]] || { echo "FAIL  the window did not open"; exit 1; }
xdotool windowfocus --sync "$window"
expect_heard "the field has the focus as the window opens" "Enter area code or city, state"

clock="[0-9]+:[0-9][0-9].(AM|PM) Eastern"
verdict="(can call now|outside calling hours)"
keys ctrl+a; typed 937; keys Return
expect_heard "an area code's answer is spoken: place, time, verdict" \
  "notification Area code 937: largest city Dayton, OH, $clock, $verdict"

keys ctrl+a; typed "Dayton, OH"; keys Escape Return
expect_heard "a place's answer is spoken: its codes, time, verdict" \
  "notification Dayton, OH: area codes 326 and 937, $clock, $verdict"

keys ctrl+a; typed "(937) 222-1234"; keys Return
expect_heard "a number's answer is spoken: its exchange's place, time, verdict" \
  "notification \(937\) 222-1234: Dayton, OH, area code 937, $clock, $verdict"
after=$(said_since 1)
if grep -q "Major cities\|notification" <<<"$after"; then
  fail "the answer moved the screen reader or was spoken twice: $(grep "Major cities\|notification" <<<"$after" | head -1)"
else ok "spoken once, and the screen reader stays in the field"; fi
heard=$(speech | wc -l)

# Typing speaks the letters and nothing of the list; Down speaks the entry it
# makes active, Escape the field again.
keys ctrl+a
heard=$(speech | wc -l)
typed Dayt
quiet=$(said_since 1.5)
if grep -q "Dayton, OH" <<<"$quiet"; then fail "typing spoke a suggestion: $(grep "Dayton, OH" <<<"$quiet" | head -1)"
else ok "typing speaks no suggestion"; fi
heard=$(speech | wc -l)
keys Down
expect_heard "Down speaks the suggestion it makes active" "Dayton, OH"
keys Escape
expect_heard "Escape closes the list and the field is spoken again" "Enter area code or city, state"

/usr/bin/python3 - <<'PY' && ok "on the bus the field controls the suggestion list" || fail "the field has no CONTROLLER_FOR relation to the suggestion list"
import sys, pyatspi
desktop = pyatspi.Registry.getDesktop(0)
app = next(a for a in desktop if a and a.name and "telquest" in a.name.lower())
field = pyatspi.findDescendant(app, lambda o: o.getRole() == pyatspi.ROLE_TEXT and o.name.startswith("Enter area code"))
targets = [r.getTarget(i) for r in field.getRelationSet()
           if r.getRelationType() == pyatspi.RELATION_CONTROLLER_FOR for i in range(r.getNTargets())]
sys.exit(0 if any(t.name == "Suggestions" for t in targets) else 1)
PY

echo "--- what Orca said"; speech | sed 's/^.*SPEECH OUTPUT: /  /'
exit $((failures > 0))
