#!/usr/bin/env bash
# Installs what is missing, builds Telquest Pro and starts it on the shipped
# data. The program reads its data files (cit.bin, arc.bin, exc.bin, ctz.bin,
# tzl.bin, checked against tqdata.manifest) and tqs.ini from its current
# folder, so it runs in run/, which gets fresh copies of the data files.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTELQUEST_TESTS=OFF >/dev/null
cmake --build build/release --parallel

mkdir -p run
cp res/cit.bin res/arc.bin res/exc.bin res/ctz.bin res/tzl.bin res/tqdata.manifest run/
cd run
exec ../build/release/telquest "$@"
