#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Process start to the window shown with a 3001-area file loaded, offscreen,
# against a bare Qt Widgets program showing one empty window of the same
# size: runs interleaved, the median wall time of each, their ratio, and the
# editor's peak memory.
set -euo pipefail
build=${1:-build}
runs=${RUNS:-11}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config"
"$build/bench/gui/make_bench_file" "$work/Scenery.cfg" "${AREAS:-3001}" ${REVERSED:+reversed}
TIMEFORMAT=%3R
for i in $(seq "$runs"); do
  { time /usr/bin/time -f "%M" "$build/bench/gui/startup_probe" \
      "$work/Scenery.cfg" >/dev/null 2>"$work/mem"; } 2>"$work/wall"
  echo "$(cat "$work/wall") $(tail -1 "$work/mem")" >>"$work/runs"
  { time "$build/bench/gui/bare_window" >/dev/null 2>&1; } 2>>"$work/bare"
done
editor=$(sort -n -k1 "$work/runs" | awk '{t[NR]=$1} END {print t[int((NR+1)/2)]*1000}')
bare=$(sort -n "$work/bare" | awk '{t[NR]=$1} END {print t[int((NR+1)/2)]*1000}')
memory=$(sort -n -k2 "$work/runs" | awk '{m[NR]=$2} END {printf "%.1f", m[int((NR+1)/2)]/1024}')
awk -v e="$editor" -v b="$bare" -v m="$memory" -v n="$runs" 'BEGIN {
  printf "editor %.1f ms, bare window %.1f ms, ratio %.2f; editor peak memory %s MB (medians of %d interleaved runs)\n", e, b, e / b, m, n }'
