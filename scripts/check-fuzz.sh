#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build/fuzz and runs each for a
# short while (FUZZ_SECONDS, 30 by default) on a copy of its seed corpus in
# tests/fuzz/corpus/, as many at a time as there are processors (nproc).
# Every target in tests/fuzz/ is run. Fails on any crash, leak, sanitizer
# report or failed check; the input that found it is kept in build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-30}
jobs=$(nproc)

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" \
  -DTELQUEST_GUI=OFF -DTELQUEST_FUZZ=ON \
  -DTELQUEST_SANITIZE=fuzzer-no-link,address,undefined >/dev/null
targets=()
for source in tests/fuzz/fuzz_*.cpp; do
  name=$(basename "$source" .cpp)
  targets+=("${name#fuzz_}")
done
cmake --build build/fuzz --parallel "$jobs" --target "${targets[@]/#/fuzz_}"

work=$(mktemp -d "${TMPDIR:-/tmp}/telquest-fuzz-XXXXXX")
trap 'rm -rf "$work"' EXIT
findings=build/fuzz/findings
mkdir -p "$findings"
# The targets write their data files into temporary folders: memory is faster.
scratch=/tmp
[[ -d /dev/shm && -w /dev/shm ]] && scratch=/dev/shm

run() {
  local target=$1
  mkdir -p "$work/$target"
  cp -r "tests/fuzz/corpus/$target/." "$work/$target/"
  if TMPDIR=$scratch "build/fuzz/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=8192 \
       -artifact_prefix="$findings/$target-" "$work/$target" >"$work/$target.log" 2>&1; then
    echo "fuzz_$target: passed ($(grep -Eo '#[0-9]+[[:space:]]+DONE' "$work/$target.log" | tr -dc 0-9) runs)"
    touch "$work/$target.passed"
  else
    echo "fuzz_$target: FAILED"
    tail -n 40 "$work/$target.log"
  fi
}

for target in "${targets[@]}"; do
  while (($(jobs -rp | wc -l) >= jobs)); do wait -n || true; done
  run "$target" &
done
wait

passed=$(find "$work" -maxdepth 1 -name '*.passed' | wc -l)
failed=$((${#targets[@]} - passed))
echo "fuzz: $passed passed, $failed failed"
((failed == 0))
