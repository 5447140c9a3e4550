#!/usr/bin/env bash
# Builds the ordinary tree build/test with every compiler warning an error
# (CMAKE_COMPILE_WARNING_AS_ERROR), so that a warning fails CI. The setting
# stays in the tree's cache: later builds keep it, and only the first run
# rebuilds the tree.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build build/test --parallel "$(nproc)"
echo "check-warnings: build/test builds without a warning"
