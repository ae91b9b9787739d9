#!/usr/bin/env bash
# Process start to the window shown with a 3001-area file loaded, offscreen:
# the median wall time and peak memory of several runs.
set -euo pipefail
build=${1:-build}
runs=${RUNS:-11}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config"
"$build/bench/gui/make_bench_file" "$work/Scenery.cfg" 3001 ${REVERSED:+reversed}
TIMEFORMAT=%3R
for i in $(seq "$runs"); do
  { time /usr/bin/time -f "%M" "$build/bench/gui/startup_probe" \
      "$work/Scenery.cfg" >/dev/null 2>"$work/mem"; } 2>"$work/wall"
  echo "$(cat "$work/wall") $(tail -1 "$work/mem")"
done >"$work/runs"
sort -n -k1 "$work/runs" | awk '{t[NR]=$1} END {printf "wall median %.1f ms", t[int((NR+1)/2)]*1000}'
sort -n -k2 "$work/runs" | awk '{m[NR]=$2} END {printf ", peak memory median %.1f MB (%d runs)\n", m[int((NR+1)/2)]/1024, NR}'
