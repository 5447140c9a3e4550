#!/usr/bin/env bash
# The desktop search on a private session bus, through an install of the
# build: idle exit, D-Bus activation by the installed service file, GNOME
# Shell's and KRunner's calls, activation of a result, and what a second
# instance, a missing bus and odd queries get.
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
printf '#!/bin/sh\nprintf "%%s|" "$@" >"%s/activated"\n' "$scratch" >"$scratch/window"
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
expect "the installed service file starts the installed launcher" \
  "*Exec=$prefix/bin/telquest --search-provider*" \
  "$(cat "$prefix/share/dbus-1/services/$name.service")"
expect "GetInitialResultSet of an area code" "(['937'],)" \
  "$(call "${gnome[@]}" --method $G.GetInitialResultSet "['937']")"
expect "GetResultMetas: the answer line, also for the clipboard" \
  "*'clipboardText': <'Dayton, OH · *M Eastern · 937'>*'name': <'Dayton, OH · *'>*" \
  "$(call "${gnome[@]}" --method $G.GetResultMetas "['937']")"
expect "a full number" "(['(937) 222-1234'],)" \
  "$(call "${gnome[@]}" --method $G.GetInitialResultSet "['(937)', '222-1234']")"
expect "three most populous namesakes" "(['Springfield, *', 'Springfield, *', 'Springfield, *'],)" \
  "$(call "${gnome[@]}" --method $G.GetInitialResultSet "['springfield']")"
expect "GetSubsearchResultSet" "(['springfield, il'],)" \
  "$(call "${gnome[@]}" --method $G.GetSubsearchResultSet "['springfield']" "['springfield,', 'il']")"
call "${gnome[@]}" --method $G.ActivateResult "Springfield, MO" "['springfield']" 0 >/dev/null
expect "ActivateResult opens the window on the result" "--query|Springfield, MO|" "$(activated)"
expect "KRunner Match" "*('Dayton, OH', 'Dayton, OH · *', 'telquest', 30, 1.0, *" \
  "$(call "${runner[@]}" --method org.kde.krunner1.Match "Dayton, OH")"
call "${runner[@]}" --method org.kde.krunner1.Run "Dayton, OH" "" >/dev/null
expect "KRunner Run opens the window on the match" "--query|Dayton, OH|" "$(activated)"

# Bad input: no results, no crash, the provider still answers.
long=$(printf '9%.0s' $(seq 10000))
for query in "$long" '\u0001\u007f' '\ufffd\u2400' '中文' "'; rm -rf /" ''; do
  expect "no results for ${query:0:12}" "(@as [],)" \
    "$(call "${gnome[@]}" --method $G.GetInitialResultSet "['${query//\'/\\\'}']")"
done
expect "no meta for an id that finds nothing" "(@aa{sv} [],)" \
  "$(call "${gnome[@]}" --method $G.GetResultMetas "['zzzz', '$long']")"
expect "KRunner: nothing for a long query" "(@a(sssida{sv}) [],)" \
  "$(call "${runner[@]}" --method org.kde.krunner1.Match "$long")"
call "${gnome[@]}" --method $G.ActivateResult "$long" "[]" 0 >/dev/null
expect "still serving after all that" "(['937'],)" \
  "$(call "${gnome[@]}" --method $G.GetInitialResultSet "['937']")"
# The calls before were answered after the activation, which starts at
# once when it starts at all: a second is ample to see nothing start.
expect "nothing activated for a long id" "" "$(activated 20)"

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
