#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Cross-builds the core, sceneshifter-cli and their tests for Windows with
# mingw-w64 in build-windows/ (no Qt), and runs the tests under Wine in a
# Wine prefix of its own there. Ends with one line of counts; fails when a
# test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build-windows
start=$SECONDS
cmake -S . -B "$out" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DSCENESHIFTER_GUI=OFF -DSCENESHIFTER_BENCH=OFF \
  -DSCENESHIFTER_FUZZ=OFF >/dev/null
cmake --build "$out" --target sceneshifter-cli document_tests \
  reader_limits_tests cli_tests
built=$SECONDS

# No display: Wine shows no window, and its first start makes the prefix.
export WINEPREFIX="$PWD/$out/wine" WINEDEBUG=-all DISPLAY=
# An English system, whose ANSI code page is 1252, as the tests expect.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
unset SCENESHIFTER_CODEPAGE
# Versions that the tests' saves keep go to the build folder, never to the
# prefix's own user data.
export LOCALAPPDATA="Z:$PWD/$out/data-home"
[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
status=0
ctest --test-dir "$out" --output-on-failure --no-tests=error -j2 || status=$?
wineserver -k 2>/dev/null || true

# The counts of the test cases, from Google Test's closing lines.
log="$out/Testing/Temporary/LastTest.log"
count() {
  { grep -oE "^\[  $1 *\] [0-9]+ test" "$log" || true; } |
    awk '{ n += $(NF - 1) } END { print n + 0 }'
}
echo "Windows build $((built - start)) s, tests under Wine $((SECONDS - built)) s"
echo "windows: $(count PASSED) passed, $(count FAILED) failed, $(count SKIPPED) skipped"
exit $status
