#!/usr/bin/env bash
# The peak resident memory of `tqlookup --batch` on inputs of the worst
# shapes, each with one job and with two against its bound, printed with
# "met" or "MISSED"; exit status 1 when a peak is above its bound.
#   bench/batch-memory.sh TQLOOKUP [LINES [CASE...]]
# The cases (all by default), each LINES lines (10 000 000 by default) piped
# from a generator, the rows to /dev/null:
#   one       the same number on every line
#   distinct  every area code and exchange in turn (a million of them)
#   bad       lines that cannot be read: control characters (as JSON lines,
#             six bytes out for each one in), bytes that are not UTF-8, NULs
#   long      one line of 100 MB, then LINES numbers
# scripts/bench.sh runs them all; scripts/check-batch-memory.sh runs
# `distinct` on a million lines in CI.
set -euo pipefail
cd "$(dirname "$0")/.."

tqlookup=${1:?usage: bench/batch-memory.sh TQLOOKUP [LINES [CASE...]]}
lines=${2:-10000000}
shift $(($# < 2 ? $# : 2))
cases=("$@")
((${#cases[@]})) || cases=(one distinct bad long)
declare -A bound_kb=([1]=49152 [2]=65536)  # 48 MB with one job, 64 MB with two

generate() {
  case $1 in
    one) yes 937-222-1234 | head -n "$lines" ;;
    distinct)
      for ((i = 0; i * 1000000 < lines; i++)); do seq -f '%06g1234' 0 999999; done |
        head -n "$lines" ;;
    bad)
      local controls
      controls=$(printf '\033[2J%.0s' {1..100})
      yes "$controls"$'\n\xff\xfe not UTF-8\n937\001222\0011234\n"unclosed,' |
        tr '\001' '\000' | head -n "$lines" ;;
    long)
      head -c 100000000 /dev/zero | tr '\0' '7'
      echo
      yes 937-222-1234 | head -n "$lines" ;;
    *) echo "batch-memory: no case $1" >&2; exit 2 ;;
  esac
}

echo "Peak resident memory of tqlookup --batch, $lines lines per case (kB)"
missed=0
for case in "${cases[@]}"; do
  format=()
  [[ $case == bad ]] && format=(--json-lines)
  for jobs in 1 2; do
    # The generators end on a closed pipe: only tqlookup's own status counts.
    read -r status peak < <(set +o pipefail
      generate "$case" |
        { /usr/bin/time -f '%x %M' "$tqlookup" --batch --quiet --jobs "$jobs" --data res \
            --now 2026-07-16T16:00Z "${format[@]}" >/dev/null; } 2>&1 | tail -n 1)
    verdict=met
    if [[ $status != 0 || ! $peak =~ ^[0-9]+$ ]] || ((peak > bound_kb[$jobs])); then
      verdict=MISSED
      [[ $status == 0 ]] || verdict+=" (exit status $status)"
      missed=1
    fi
    printf '  %-10s %d job(s) %10s   bound %d: %s\n' "$case" "$jobs" "$peak" \
      "${bound_kb[$jobs]}" "$verdict"
  done
done
exit "$missed"
