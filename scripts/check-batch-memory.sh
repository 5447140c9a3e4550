#!/usr/bin/env bash
# The batch lookup's memory stays bounded whatever the input: a million
# lines of distinct area codes and exchanges (every one of them) through
# `tqlookup --batch` with one job and with two, each peak against its bound
# (bench/batch-memory.sh holds the bounds and the other shapes). A few
# seconds; needs the build of scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
bench/batch-memory.sh build/test/cli/tqlookup 1000000 distinct
