#!/usr/bin/env bash
# Seeds one-line slips into the code, one at a time, and checks that the
# ordinary tests catch each of them. A slip the tests miss SURVIVES, and the
# script then fails: add the test that catches it.
#
#   scripts/check-seeded-faults.sh [-n NUMBER]... [--list FILE] [--jobs N] [--check]
#
#   -n NUMBER   seed only this slip (1 is the list's first); may be repeated
#   --list FILE another list of slips (default tests/seeded-faults.txt)
#   --jobs N    build and test with N jobs (default: the processors)
#   --check     only check that every slip's text is found once in its file
#
# The list has one slip a line, four fields between tabs: the file, a text
# found exactly once in it, what replaces that text, and what the slip does.
# Lines that are blank or begin with # are notes. A slip whose text is no
# longer found, or found more than once, fails the script before anything is
# built, so that the list cannot rot unseen.
#
# The slips are seeded in a scratch copy of the tree (build/seeded/src), built
# in build/seeded/build; both are kept between runs, and the copy takes only
# the files that changed, so each slip costs an incremental build and a run
# of ctest (a minute or so on two processors).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
list=$root/tests/seeded-faults.txt
jobs=$(nproc)
only=()
checkOnly=0
while (($#)); do
  case $1 in
    -n) only+=("$2"); shift 2 ;;
    --list) list=$(realpath "$2"); shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --check) checkOnly=1; shift ;;
    *) echo "check-seeded-faults: unknown option $1" >&2; exit 2 ;;
  esac
done
[[ -f $list ]] || { echo "check-seeded-faults: no list $list" >&2; exit 2; }

# The slips, one a line; Fields sets file, find, replace and what (a field
# may be empty, which `read` would not keep).
mapfile -t slips < <(grep -v -e '^#' -e '^[[:space:]]*$' "$list")
Fields() {
  local rest=$1 tabs=${1//[^$'\t']/}
  file=${rest%%$'\t'*} rest=${rest#*$'\t'}
  find=${rest%%$'\t'*} rest=${rest#*$'\t'}
  replace=${rest%%$'\t'*} what=${rest#*$'\t'}
  [[ ${#tabs} == 3 && -n $file && -n $find && -n $what && $find != "$replace" ]]
}
broken=0
for i in "${!slips[@]}"; do
  if ! Fields "${slips[i]}"; then
    echo "check-seeded-faults: slip $((i + 1)) is not four fields between tabs: ${slips[i]}"
    broken=1
  elif [[ ! -f $root/$file ]]; then
    echo "check-seeded-faults: slip $((i + 1)) names $file, which is not there"
    broken=1
  fi
done
# Each slip's text, found once in its file (one pass over the whole list).
python3 - "$root" "$list" <<'PYTHON' || broken=1
import sys
root, listed = sys.argv[1], sys.argv[2]
slips = [l.rstrip("\n") for l in open(listed, encoding="latin-1")
         if l.strip() and not l.startswith("#")]
wrong = 0
for number, slip in enumerate(slips, 1):
    fields = slip.split("\t")
    if len(fields) != 4:
        continue
    try:
        count = open(f"{root}/{fields[0]}", encoding="latin-1").read().count(fields[1])
    except OSError:
        continue
    if count != 1:
        print(f"check-seeded-faults: slip {number} ({fields[3]}): its text is found {count} times "
              f"in {fields[0]}, not once: {fields[1]}")
        wrong = 1
sys.exit(wrong)
PYTHON
if ((broken)); then
  echo "check-seeded-faults: mend the list $list first"
  exit 1
fi
echo "check-seeded-faults: ${#slips[@]} slips, each found once in its file"
((checkOnly)) && exit 0

# The scratch copy: what git tracks or would track, copied when it differs.
scratch=$root/build/seeded
mkdir -p "$scratch/src"
cd "$root"
git ls-files -z --cached --others --exclude-standard >"$scratch/files.new"
if [[ -f $scratch/files ]]; then
  comm -z -23 <(sort -z "$scratch/files") <(sort -z "$scratch/files.new") |
    while IFS= read -r -d '' gone; do rm -f "$scratch/src/$gone"; done
fi
while IFS= read -r -d '' file; do
  [[ -f $file ]] || continue
  if ! cmp -s "$file" "$scratch/src/$file"; then
    mkdir -p "$scratch/src/$(dirname "$file")"
    cp "$file" "$scratch/src/$file"  # a new time: the build takes it again
    rm -f "$scratch/unseeded-passed"
  fi
done <"$scratch/files.new"
mv "$scratch/files.new" "$scratch/files"
build=$scratch/build
if [[ ! -f $build/CMakeCache.txt ]]; then
  nice cmake -S "$scratch/src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
# The tests must pass unseeded, else a failure tells nothing; a copy that
# passed and has not changed since is not run again.
if [[ ! -f $scratch/unseeded-passed ]]; then
  echo "check-seeded-faults: building and testing the unseeded copy"
  nice cmake --build "$build" --parallel "$jobs" >"$scratch/build.log" 2>&1 ||
    { tail -30 "$scratch/build.log"; echo "check-seeded-faults: the unseeded copy does not build"; exit 1; }
  if ! QT_QPA_PLATFORM=offscreen nice ctest --test-dir "$build" --parallel "$jobs" \
         --exclude-regex '^seeded_faults_list$' >"$scratch/ctest.log" 2>&1; then
    grep -A20 "tests FAILED" "$scratch/ctest.log" || tail -20 "$scratch/ctest.log"
    echo "check-seeded-faults: the unseeded copy fails its tests; nothing can be told"
    exit 1
  fi
  touch "$scratch/unseeded-passed"
fi

# The ordinary tests but those matching $1, stopping at the first failure.
# The core's and the command line's run first: they catch most slips soonest.
Quick() {
  QT_QPA_PLATFORM=offscreen nice ctest --test-dir "$build" --parallel "$jobs" \
    --exclude-regex "$1" --stop-on-failure --timeout 300 >"$scratch/ctest.log" 2>&1
}
survived=() unbuilt=()
started=$SECONDS
for i in "${!slips[@]}"; do
  number=$((i + 1))
  if ((${#only[@]})) && [[ " ${only[*]} " != *" $number "* ]]; then continue; fi
  Fields "${slips[i]}"
  target=$scratch/src/$file
  cp -p "$target" "$scratch/original"
  trap 'cp "$scratch/original" "$target"' EXIT
  FIND=$find REPLACE=$replace python3 -c '
import os, sys
path = sys.argv[1]
text = open(path, encoding="latin-1").read()
open(path, "w", encoding="latin-1").write(text.replace(os.environ["FIND"], os.environ["REPLACE"], 1))
' "$target"
  began=$SECONDS
  if ! nice cmake --build "$build" --parallel "$jobs" >"$scratch/build.log" 2>&1; then
    verdict="DOES NOT BUILD"
    unbuilt+=("$number")
  elif Quick '^seeded_faults_list$|^gui\.' && Quick '^seeded_faults_list$|^[^g]|^g[^u]'; then
    verdict="SURVIVED"
    survived+=("$number")
  else
    by=$(sed -n 's/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \([^ ]*\) .*\*\*\*.*/\1/p' "$scratch/ctest.log" |
         head -3 | paste -sd, -)
    verdict="caught (${by:-the tests})"
  fi
  # Restored with a new time, so that the next build compiles it again.
  cp "$scratch/original" "$target"
  touch "$target"
  trap - EXIT
  printf '%3d  %4ds  %s  %s: %s\n' "$number" $((SECONDS - began)) "$verdict" "$file" "$what"
done
echo "check-seeded-faults: $((SECONDS - started)) s;" \
  "${#survived[@]} survived${survived:+ (${survived[*]})}," \
  "${#unbuilt[@]} did not build${unbuilt:+ (${unbuilt[*]})}"
((${#survived[@]} == 0 && ${#unbuilt[@]} == 0))
