#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what the build needs from Debian's packages, when it is missing.
set -euo pipefail
pkgs=(cmake ninja-build g++ qt6-base-dev libgtest-dev libbenchmark-dev xvfb xauth clang-format
  clang-14 libclang-rt-14-dev fonts-liberation2 imagemagick xdotool
  librsvg2-bin gzip dpkg-dev lintian appstream desktop-file-utils man-db
  g++-mingw-w64-x86-64-posix wine wine64 nlohmann-json3-dev)
missing=()
for p in "${pkgs[@]}"; do dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p"); done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" != 0 ]; then
    echo "Please install: ${missing[*]} (as root: apt-get install ${missing[*]})" >&2
    exit 1
  fi
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSCENESHIFTER_WERROR=ON >/dev/null
# The targets named as arguments, or everything.
cmake --build build ${1:+--target "$@"}
