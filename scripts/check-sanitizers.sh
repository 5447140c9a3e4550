#!/usr/bin/env bash
# Builds the whole test suite once more with AddressSanitizer and
# UndefinedBehaviorSanitizer in build/asan (the window's tests too when the
# window is built) and runs it there. Any report fails its test.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTELQUEST_SANITIZE=address,undefined >/dev/null
cmake --build build/asan --parallel "$jobs"

export QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=1
# The launcher's race is a shell script's; its 200 rounds run in the plain
# build, and the everyday 20 are enough here.
export TELQUEST_LAUNCHER_RACE_ROUNDS=20
export XDG_RUNTIME_DIR
XDG_RUNTIME_DIR=$(mktemp -d)
log=$(mktemp)
trap 'rm -rf "$XDG_RUNTIME_DIR" "$log"' EXIT
export ASAN_OPTIONS=abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
ctest --test-dir build/asan --output-on-failure --parallel "$jobs" 2>&1 | tee "$log" || status=$?
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
