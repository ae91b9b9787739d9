#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the core tests (document and CLI) once more with AddressSanitizer
# and UndefinedBehaviorSanitizer in build-asan/, and runs them.
set -euo pipefail
cd "$(dirname "$0")/.."
flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSCENESHIFTER_GUI=OFF -DSCENESHIFTER_BENCH=OFF -DSCENESHIFTER_FUZZ=OFF \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build build-asan --target document_tests reader_limits_tests cli_tests
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan -L core --output-on-failure --no-tests=error -j2
