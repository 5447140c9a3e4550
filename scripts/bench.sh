#!/usr/bin/env bash
# Builds the benchmarks optimised in build-bench and prints, in one run, the
# loading and search figures side by side (shipped data and a ten times
# larger copy; indexed record sets against scanning ones), then the peak
# memory of tqlookup on the shipped data, the batch lookup of ten million
# numbers against the one-core limit and its memory on the worst inputs, and the
# window's start-up time to its first painted frame (offscreen). Benchmark flags are passed on, e.g.
#   scripts/bench.sh --benchmark_filter=lookup/shipped
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTELQUEST_GUI=ON \
  -DTELQUEST_BENCH=ON >/dev/null
targets=(telquest_bench telquest_numbers_bench telquest_batch_bench telquest_desktop_bench
         telquest_zone_law_bench telquest_postal_bench tqlookup)
startup=no
if cmake --build build-bench --target help | grep '^telquest_startup:' >/dev/null; then
  targets+=(telquest_startup telquest_window_fill)
  startup=yes
fi
cmake --build build-bench --parallel "$(nproc)" --target "${targets[@]}"

build-bench/bench/telquest_bench --benchmark_color=false "$@"

echo
echo "Phone numbers with their exchange, local times, the exchange file"
build-bench/bench/telquest_numbers_bench --benchmark_color=false "$@"

echo
build-bench/bench/telquest_desktop_bench

echo
echo "The zone law: loading its tables, the time at an instant"
build-bench/bench/telquest_zone_law_bench

echo
echo "ZIP and postal codes: loading pst.bin, a code's place, a batch of code rows"
build-bench/bench/telquest_postal_bench

echo
echo "Peak resident memory of tqlookup on the shipped data (kB)"
for query in 212 "Dayton, OH" springfield san ", TX"; do
  peak=$( { /usr/bin/time -v build-bench/cli/tqlookup --data res --pick-first "$query" >/dev/null; } 2>&1 |
          awk -F': ' '/Maximum resident set size/ { print $2 }')
  printf '  %-14s %8s\n' "\"$query\"" "$peak"
done

echo
# The batch lookup: a generated file of ten million numbers (BATCH_LINES to
# change), one and two jobs against the one-core limit in interleaved
# rounds (BATCH_ROUNDS), then tqlookup's peak memory on inputs of the worst
# shapes.
numbers=build-bench/batch-numbers.txt
build-bench/bench/telquest_batch_bench "$numbers" "${BATCH_LINES:-10000000}" "${BATCH_ROUNDS:-3}"
rm -f "$numbers"
echo
bench/batch-memory.sh build-bench/cli/tqlookup "${BATCH_LINES:-10000000}" || true

if [[ $startup == yes ]]; then
  echo
  echo "Window start-up to the first painted frame, offscreen (ms; five runs)"
  echo "  application  window+data  first frame    total"
  runtime=$(mktemp -d)
  for _ in 1 2 3 4 5; do
    QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$runtime build-bench/bench/telquest_startup 2>/dev/null |
      awk '{ printf "  %11s %12s %12s %8s\n", $1, $2, $3, $4 }'
  done
  echo
  echo "The window's answers, from a search to its painted frame, offscreen (median of 7)"
  QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$runtime build-bench/bench/telquest_window_fill 2>/dev/null
  rm -rf "$runtime"
fi
