#!/usr/bin/env bash
# Times the whole `sceneshifter-cli normalize` process on the generated
# 3001-area table (reversed order) against a plain `cp` of the same file, and
# prints the median of several runs of each.
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

median_us() {  # command... : runs it $runs times, prints the median in µs
  local times=()
  for _ in $(seq "$runs"); do
    rm -f "$work/out.cfg"
    local t0 t1
    t0=$(date +%s%N)
    "$@" >/dev/null
    t1=$(date +%s%N)
    times+=($(((t1 - t0) / 1000)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p"
}

cp_us=$(median_us cp "$work/Scenery.cfg" "$work/out.cfg")
norm_us=$(median_us "$cli" normalize "$work/Scenery.cfg" --output "$work/out.cfg")
echo "file: $(wc -c <"$work/Scenery.cfg") bytes, 3001 areas, median of $runs runs"
echo "cp:        ${cp_us} us"
echo "normalize: ${norm_us} us"
awk -v n="$norm_us" -v c="$cp_us" 'BEGIN { printf "ratio:     %.2f (goal: within 3)\n", n / c }'
