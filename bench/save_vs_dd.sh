#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Times a save of the generated 3001-area table by each CLI given: `normalize`
# in place (lock, checks, backup, rename) and `normalize --output` to a new
# file, against a durable copy of the same file (`dd conv=fsync`); prints
# the median of several interleaved runs of each.
#   bash bench/save_vs_dd.sh [RUNS] [CLI...]   (default 21, build/sceneshifter-cli)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-21}
shift || true
clis=("$@")
[ ${#clis[@]} -gt 0 ] || clis=(build/sceneshifter-cli)
gen=build/bench/make_scenery
[ -x "$gen" ] || { echo "build make_scenery first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$gen" "$work/Scenery.cfg"
"${clis[0]}" normalize "$work/Scenery.cfg" >/dev/null  # in order from here on

time_us() {  # command... : prints how long it took in µs
  local t0 t1
  t0=$(date +%s%N)
  "$@" >/dev/null 2>&1
  t1=$(date +%s%N)
  echo $(((t1 - t0) / 1000))
}
median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
declare -A t
for _ in $(seq "$runs"); do
  rm -f "$work/out.cfg"
  t[dd]+=" $(time_us dd if="$work/Scenery.cfg" of="$work/out.cfg" bs=1M conv=fsync)"
  for i in "${!clis[@]}"; do
    t[inplace$i]+=" $(time_us "${clis[$i]}" normalize "$work/Scenery.cfg")"
    rm -f "$work/out.cfg" "$work/out.cfg.bak"
    t[output$i]+=" $(time_us "${clis[$i]}" normalize "$work/Scenery.cfg" --output "$work/out.cfg")"
  done
done
dd_us=$(median ${t[dd]})
echo "file: $(wc -c <"$work/Scenery.cfg") bytes, 3001 areas, median of $runs runs"
echo "dd conv=fsync:            ${dd_us} us"
for i in "${!clis[@]}"; do
  in_us=$(median ${t[inplace$i]}) out_us=$(median ${t[output$i]})
  awk -v c="${clis[$i]}" -v a="$in_us" -v b="$out_us" -v d="$dd_us" 'BEGIN {
    printf "%s\n  normalize in place:     %d us (%.2f x dd)\n", c, a, a / d
    printf "  normalize --output new: %d us (%.2f x dd)\n", b, b / d }'
done
