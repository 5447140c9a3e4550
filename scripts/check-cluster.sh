#!/usr/bin/env bash
# The Dask recipe of README.md, as written there, on a local cluster of two
# worker processes: a million lines in pieces of 1 MiB give the same bytes
# as one `tqlookup --batch` run. Needs Debian python3-dask and
# python3-distributed (scripts/install-deps.sh test) and the build of
# scripts/test.sh; about half a minute.
set -euo pipefail
cd "$(dirname "$0")/.."

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The recipe: the code block after its marker.
awk '/^<!-- recipe: dask -->$/ { found = 1; next }
     found && /^```python$/ { inside = 1; next }
     inside && /^```$/ { exit }
     inside { print }' README.md >"$work/dask-batch.py"
[[ -s $work/dask-batch.py ]] || { echo "check-cluster: no Dask recipe in README.md" >&2; exit 1; }

# Every area code and exchange, every third line in another form with a CR
# LF line end.
seq -f '%06g1234' 0 999999 |
  awk 'NR % 3 == 0 { printf "(%s) %s-%s\r\n", substr($0, 1, 3), substr($0, 4, 3), substr($0, 7); next }
       { print }' >"$work/numbers.txt"

export TQLOOKUP=$PWD/build/test/cli/tqlookup
options=(--data res --now 2026-07-05T22:42Z)
"$TQLOOKUP" --batch --quiet "${options[@]}" "$work/numbers.txt" >"$work/one.csv"
start=$SECONDS
BLOCK=1MiB /usr/bin/python3 "$work/dask-batch.py" "$work/numbers.txt" "${options[@]}" \
  >"$work/dask.csv" 2>"$work/dask.log" || { cat "$work/dask.log" >&2; exit 1; }
if ! cmp "$work/one.csv" "$work/dask.csv"; then
  echo "check-cluster: the Dask pieces differ from one run" >&2
  exit 1
fi
echo "check-cluster: Dask, 2 workers, $(wc -l <"$work/one.csv") rows in" \
     "$(( $(stat -c %s "$work/numbers.txt") >> 20 )) pieces of 1 MiB: the same bytes as one run" \
     "($((SECONDS - start)) s)"
