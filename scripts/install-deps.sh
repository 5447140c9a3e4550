#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need.
# Packages already present are skipped; with nothing missing, nothing runs.
#   scripts/install-deps.sh [run|test|tools]
# "tools" adds what tools/screenshot and tools/tz need to the run packages.
set -euo pipefail

run_packages=(cmake ninja-build g++ qt6-base-dev fonts-liberation2)
test_packages=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev time xvfb xauth parallel
               desktop-file-utils appstream dpkg-dev file man-db locales dbus-daemon libglib2.0-bin
               orca speech-dispatcher at-spi2-core python3-pyatspi xdotool
               python3-dask python3-distributed)
tool_packages=(xvfb xauth xdotool imagemagick python3 tzdata)

packages=("${run_packages[@]}")
case "${1:-run}" in
  test) packages+=("${test_packages[@]}") ;;
  tools) packages+=("${tool_packages[@]}") ;;
esac

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  if [[ $(id -u) -ne 0 ]]; then sudo_cmd=(sudo); fi
  "${sudo_cmd[@]}" apt-get update -qq
  # Through env, because sudo drops the caller's environment.
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
