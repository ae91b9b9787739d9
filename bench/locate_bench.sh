#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Times `sceneshifter-cli locate` over a home folder with five Wine
# prefixes holding 50,000 files under drive_c (10,000 each, all within the
# four levels below Program Files that the search walks, a 1.5 MB
# system.reg in each; one names the simulator, four make the search run),
# warm, and prints the median of several runs.
#   bash bench/locate_bench.sh [RUNS]     (default 21; needs build/)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-21}
cli=$PWD/build/sceneshifter-cli
[ -x "$cli" ] || { echo "build first: cmake --build build --target sceneshifter-cli" >&2; exit 1; }
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

# A registry of Wine's size: 15,000 keys of other programs.
registry() {
  echo 'WINE REGISTRY Version 2'
  awk 'BEGIN { for (i = 0; i < 15000; i++)
    printf "[Software\\\\Vendor%d\\\\Program\\\\Settings] 1600000000\n#time=1d6\n\"Path\"=\"C:\\\\Program Files\\\\Vendor%d\"\n\"Flags\"=dword:00000001\n\n", i, i }'
}
for prefix in .wine .local/share/wineprefixes/a .local/share/wineprefixes/b \
  .PlayOnLinux/wineprefix/c .local/share/bottles/bottles/d; do
  root="$home/$prefix"
  mkdir -p "$root/drive_c"
  registry >"$root/system.reg"
  (
    cd "$root/drive_c"
    mkdir -p "Program Files"/Vendor{0..9}/App{0..9}/Data{0..9}
    printf '%s\0' "Program Files"/Vendor{0..9}/App{0..9}/Data{0..9}/file{0..9}.dat |
      xargs -0 touch
  )
done
sim="$home/.wine/drive_c/Program Files/Microsoft Games/FS2000"
mkdir -p "$sim" && echo '[General]' >"$sim/Scenery.cfg"
printf '[Software\\\\Microsoft\\\\Microsoft Games\\\\Flight Simulator\\\\7.0] 1\n"EXE Path"="C:\\\\Program Files\\\\Microsoft Games\\\\FS2000\\\\"\n' \
  >>"$home/.wine/system.reg"
echo "files under drive_c: $(find "$home" -path '*drive_c*' -type f | wc -l)"

median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
times=()
HOME=$home WINEPREFIX= "$cli" locate  # warms the cache, and shows the result
for _ in $(seq "$runs"); do
  t0=$(date +%s%N)
  HOME=$home WINEPREFIX= "$cli" locate >/dev/null
  t1=$(date +%s%N)
  times+=($(((t1 - t0) / 1000)))
done
echo "locate: median $(median "${times[@]}") us of $runs runs"
