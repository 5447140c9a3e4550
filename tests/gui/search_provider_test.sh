#!/usr/bin/env bash
# The desktop search on a private session bus, through an install of the
# build under a prefix with a blank: idle exit, D-Bus activation by the
# installed service file, GNOME Shell's and KRunner's calls, activation of a
# result (and of nothing else), the bounds of a call, what a second
# instance, a missing bus and odd queries get, and the one window process.
#   dbus-run-session -- bash search_provider_test.sh PREFIX
set -u
prefix=$1
name=io.github.telquest.Telquest.SearchProvider
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
gnome=(--session --dest "$name" --object-path /io/github/telquest/Telquest/SearchProvider)
runner=(--session --dest "$name" --object-path /runner)
G=org.gnome.Shell.SearchProvider2
failures=0

expect() {  # expect WHAT PATTERN TEXT: TEXT is PATTERN, where "*" stands for any text
  local glob="" i
  for ((i = 0; i < ${#2}; i++)); do
    if [[ ${2:i:1} == "*" ]]; then glob+="*"; else glob+="\\${2:i:1}"; fi
  done
  if [[ $3 == $glob ]]; then echo "ok    $1"; else
    echo "FAIL  $1: wanted $2, got: $3"; failures=$((failures + 1)); fi
}
call() { timeout 10 gdbus call "$@" 2>&1; }
owned() {
  call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner "$name"
}
activated() {  # waits for the program that activation starts to have run (5 s, or $1 tries)
  for _ in $(seq "${1:-100}"); do [[ -s $scratch/activated ]] && break; sleep 0.05; done
  cat "$scratch/activated" 2>/dev/null; rm -f "$scratch/activated"
}

# Activation starts this in place of the window.
printf '#!/bin/sh\nprintf "%%s|" "$@" >>"%s/activated"\n' "$scratch" >"$scratch/window"
chmod +x "$scratch/window"
export TELQUEST_PROGRAM=$scratch/window
call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
  --method org.freedesktop.DBus.UpdateActivationEnvironment \
  "{'TELQUEST_PROGRAM': '$TELQUEST_PROGRAM'}" >/dev/null

# Started by hand with a short idle time, it serves, then exits by itself.
timeout 20 "$prefix/bin/telquest" --search-provider --idle-exit-ms 300 &
for _ in $(seq 100); do [[ $(owned) == *true* ]] && break; sleep 0.05; done
expect "a provider started by hand owns the name" "*true*" "$(owned)"
wait $!
expect "it exits after its idle time" "0 *false*" "$? $(owned)"

# From here on D-Bus starts it through the installed service file.
expect "the installed service file starts the installed launcher, quoted" \
  "*Exec=\"$prefix/bin/telquest\" --search-provider*" \
  "$(cat "$prefix/share/dbus-1/services/$name.service")"
expect "the desktop entry starts it by its installed path" "*Exec=\"$prefix/bin/telquest\"*" \
  "$(cat "$prefix/share/applications/telquest.desktop")"
expect "GetInitialResultSet of an area code" "(['937'],)" \
  "$(call "${gnome[@]}" --method $G.GetInitialResultSet "['937']")"
metas=$(call "${gnome[@]}" --method $G.GetResultMetas "['937']")
expect "GetResultMetas: the place, then its codes, time and verdict" \
  "*'description': <'937 · *M Eastern*'>*'name': <'Dayton, OH'>*" "$metas"
expect "nothing for the clipboard" "no clipboardText" "$([[ $metas == *clipboardText* ]] || echo no clipboardText)"
ids=$(printf "'937', %.0s" $(seq 60))
expect "at most 50 results described by one call" 50 \
  "$(call "${gnome[@]}" --method $G.GetResultMetas "[${ids%, }]" | grep -o "'id'" | wc -l)"
call "${gnome[@]}" --method $G.GetInitialResultSet "[', CA']" >/dev/null
expect "a state: its largest place, its many codes counted" \
  "*'description': <'4* area codes · *'>*'name': <'Los Angeles, CA'>*" \
  "$(call "${gnome[@]}" --method $G.GetResultMetas "[', CA']")"
expect "a term is cut at 256 characters" "(['937'],)" \
  "$(call "${gnome[@]}" --method $G.GetInitialResultSet "['937$(printf ' %.0s' $(seq 253))x']")"
expect "an everyday word finds nothing" "(@as [],)" \
  "$(call "${gnome[@]}" --method $G.GetInitialResultSet "['calc']")"
expect "a full number" "(['(937) 222-1234'],)" \
  "$(call "${gnome[@]}" --method $G.GetInitialResultSet "['(937)', '222-1234']")"
expect "the three most populous namesakes, no more" \
  "(['Springfield, Missouri', 'Springfield, Massachusetts', 'Springfield, Illinois'],)" \
  "$(call "${gnome[@]}" --method $G.GetInitialResultSet "['springfield']")"
expect "GetSubsearchResultSet" "(['springfield, il'],)" \
  "$(call "${gnome[@]}" --method $G.GetSubsearchResultSet "['springfield']" "['springfield,', 'il']")"
call "${gnome[@]}" --method $G.ActivateResult "springfield, il" "['springfield,', 'il']" 0 >/dev/null
expect "ActivateResult opens the window on the result, its text after --" \
  "--query|--|springfield, il|" "$(activated)"
# Ids never returned, then one that was: only that one starts the window.
for id in "Springfield, MO" "-stylesheet=$scratch/style.qss" "--search-provider"; do
  call "${gnome[@]}" --method $G.ActivateResult "$id" "[]" 0 >/dev/null
done
call "${gnome[@]}" --method $G.ActivateResult "springfield, il" "[]" 0 >/dev/null
expect "an id never returned starts nothing" "--query|--|springfield, il|" "$(activated)"
expect "and is described by nothing" "(@aa{sv} [],)" \
  "$(call "${gnome[@]}" --method $G.GetResultMetas "['Springfield, MO', '-x']")"
call "${gnome[@]}" --method $G.LaunchSearch "['-dayton', 'oh']" 0 >/dev/null
expect "LaunchSearch opens the window on the words typed, after --" "--query|--|-dayton oh|" "$(activated)"
expect "KRunner Match" "*('Dayton, OH', 'Dayton, OH', 'telquest', 30, 1.0, {'subtext': <'*937 · *'>})*" \
  "$(call "${runner[@]}" --method org.kde.krunner1.Match "Dayton, OH")"
call "${runner[@]}" --method org.kde.krunner1.Run "Dayton, TX" "" >/dev/null
call "${runner[@]}" --method org.kde.krunner1.Run "Dayton, OH" "" >/dev/null
expect "KRunner Run opens the window on the match, and on no other" "--query|--|Dayton, OH|" "$(activated)"

# Bad input: no results, no crash, the provider still answers.
long=$(printf '9%.0s' $(seq 10000))
for query in "$long" '\u0001\u007f' '\ufffd\u2400' '中文' "'; rm -rf /" ''; do
  expect "no results for ${query:0:12}" "(@as [],)" \
    "$(call "${gnome[@]}" --method $G.GetInitialResultSet "['${query//\'/\\\'}']")"
done
expect "no meta for an id never returned" "(@aa{sv} [],)" \
  "$(call "${gnome[@]}" --method $G.GetResultMetas "['zzzz', '$long']")"
expect "KRunner: nothing for a long query" "(@a(sssida{sv}) [],)" \
  "$(call "${runner[@]}" --method org.kde.krunner1.Match "$long")"
call "${gnome[@]}" --method $G.ActivateResult "$long" "[]" 0 >/dev/null
expect "still serving after all that" "(['937'],)" \
  "$(call "${gnome[@]}" --method $G.GetInitialResultSet "['937']")"
# The calls before were answered after the activation, which starts at
# once when it starts at all: a second is ample to see nothing start.
expect "nothing activated for a long id" "" "$(activated 20)"

# One window process: a window that runs takes the text of the next start,
# which ends at once; Qt never reads that text as its own option.
QT_QPA_PLATFORM=offscreen timeout 60 "$prefix/bin/telquest" >/dev/null 2>&1 &
window=$!
window_owned() {
  call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
    --method org.freedesktop.DBus.NameHasOwner io.github.telquest.Telquest
}
for _ in $(seq 200); do [[ $(window_owned) == *true* ]] && break; sleep 0.05; done
expect "the first window owns its name" "*true*" "$(window_owned)"
QT_QPA_PLATFORM=offscreen timeout 10 "$prefix/bin/telquest" --query -- -platform nosuch >/dev/null 2>&1
expect "a second start hands its text over and ends" "0" "$?"
kill "$window"; wait "$window" 2>/dev/null

out=$(timeout 10 "$prefix/bin/telquest" --search-provider 2>&1)
expect "a second instance leaves the name to the first" "0 *already served*" "$? $out"
out=$(DBUS_SESSION_BUS_ADDRESS=unix:path=$scratch/none timeout 10 \
  "$prefix/bin/telquest" --search-provider 2>&1)
expect "without a session bus it says so and fails" "1 *no D-Bus session bus*" "$? $out"

# The provider D-Bus started would serve out its idle time, holding the
# test's output open; it is stopped.
pid=$(call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
  --method org.freedesktop.DBus.GetConnectionUnixProcessID "$name" |
  sed -n 's/^(uint32 \([0-9]*\),)$/\1/p')
[[ -n $pid ]] && kill "$pid"

exit $((failures > 0))
