#!/usr/bin/env bash
# Keeps the rooms layered: a file may include from its own room and from the
# rooms below it in this list, never from one above it or beside it.
#   base < names < data < time < number < postal < map < lookup < batch < desktop < app, cli
# Fails naming every include that points the wrong way.
set -euo pipefail
cd "$(dirname "$0")/.."
declare -A level=([base]=0 [names]=1 [data]=2 [time]=3 [number]=4 [postal]=5 [map]=6
                  [lookup]=7 [batch]=8 [desktop]=9 [app]=10 [cli]=10 [res]=0)
wrong=0
while IFS= read -r file; do
  room=${file%%/*}
  [[ -n ${level[$room]+x} ]] || continue
  while IFS= read -r included; do
    to=${included%%/*}
    [[ $included == */* && -n ${level[$to]+x} && $to != "$room" ]] || continue
    if ((level[$to] >= level[$room])); then
      echo "check-rooms: $file includes $included ($room may not use $to)"
      wrong=1
    fi
  done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done < <(git ls-files --cached --others --exclude-standard -- '*.h' '*.cpp' '*.inc')
((wrong == 0)) && echo "check-rooms: every include points down"
exit "$wrong"
