#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Times the whole `sceneshifter-cli normalize` process on the generated
# 3001-area table (reversed order) against a plain `cp` of the same file and
# against a durable copy (`dd conv=fsync`), and prints the median of several
# interleaved runs of each.
#   bash bench/normalize_vs_cp.sh [RUNS]     (default 21; needs build/)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-21}
cli=build/sceneshifter-cli
gen=build/bench/make_scenery
[ -x "$cli" ] && [ -x "$gen" ] || { echo "build first: bash scripts/setup.sh" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$gen" "$work/Scenery.cfg"

cp_t=() dd_t=() norm_t=()
time_us() {  # command... : prints how long it took in µs
  local t0 t1
  rm -f "$work/out.cfg" "$work/out.cfg.bak"
  t0=$(date +%s%N)
  "$@" >/dev/null 2>&1
  t1=$(date +%s%N)
  echo $(((t1 - t0) / 1000))
}
median() { printf '%s\n' "$@" | sort -n | sed -n "$((($# + 1) / 2))p"; }
for _ in $(seq "$runs"); do
  cp_t+=($(time_us cp "$work/Scenery.cfg" "$work/out.cfg"))
  dd_t+=($(time_us dd if="$work/Scenery.cfg" of="$work/out.cfg" bs=1M conv=fsync))
  norm_t+=($(time_us "$cli" normalize "$work/Scenery.cfg" --output "$work/out.cfg"))
done
cp_us=$(median "${cp_t[@]}") dd_us=$(median "${dd_t[@]}") norm_us=$(median "${norm_t[@]}")
echo "file: $(wc -c <"$work/Scenery.cfg") bytes, 3001 areas, median of $runs runs"
echo "cp:             ${cp_us} us"
echo "dd conv=fsync:  ${dd_us} us"
echo "normalize:      ${norm_us} us"
awk -v n="$norm_us" -v c="$cp_us" -v d="$dd_us" \
  'BEGIN { printf "ratio to cp: %.2f, to dd conv=fsync: %.2f\n", n / c, n / d }'
