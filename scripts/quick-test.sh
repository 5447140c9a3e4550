#!/usr/bin/env bash
# Builds build/test and runs the ordinary tests: the everyday check, a few
# seconds once built. scripts/test.sh runs these and all further checks.
set -euo pipefail
cd "$(dirname "$0")/.."
[[ -f build/test/CMakeCache.txt ]] ||
  cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/test --parallel "$(nproc)"
ctest --test-dir build/test --output-on-failure --parallel "$(nproc)"
