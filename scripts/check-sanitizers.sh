#!/usr/bin/env bash
# Builds the whole test suite once more with AddressSanitizer and
# UndefinedBehaviorSanitizer in build/asan (the window's tests too when the
# window is built, the corpus replays not) and runs it there. Any report
# fails its test.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

# -O1 and line tables only: the tree builds in about two thirds of the
# time, and every report still names its function, file and line. The fuzz
# corpora are not replayed here: scripts/check-fuzz.sh runs each of them
# under both sanitizers before it fuzzes.
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
  -DTELQUEST_SANITIZE=address,undefined -DTELQUEST_REPLAY=OFF >/dev/null
cmake --build build/asan --parallel "$jobs"

export QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=1
export XDG_RUNTIME_DIR
XDG_RUNTIME_DIR=$(mktemp -d)
log=$(mktemp)
trap 'rm -rf "$XDG_RUNTIME_DIR" "$log"' EXIT
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
# The launcher's race runs only the shell launcher, none of the code built
# here: the plain build runs it.
ctest --test-dir build/asan --output-on-failure --parallel "$jobs" -E '^launcher_race$' 2>&1 | tee "$log" || status=$?
# "97% tests passed, 1 tests failed out of 40"
summary=$(grep -E '^[0-9]+% tests passed' "$log" | tail -n 1 || true)
if [[ $summary =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
  failed=${BASH_REMATCH[1]}
  echo "sanitizers: $((BASH_REMATCH[2] - failed)) passed, $failed failed"
else
  echo "sanitizers: 0 passed, 1 failed"
  status=1
fi
exit "$status"
