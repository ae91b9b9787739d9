#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Start-up of the editor with a 3001-area file, offscreen, against a bare Qt
# Widgets program showing one empty window of the same size, and against the
# same window showing one label (the floor for a window with any text, which
# reads the system's font configuration and loads a font). Each program is
# started the same way and ends once its window has been painted; runs are
# interleaved. Prints the medians from exec to the window shown and to the
# process's end, the ratios, and the editor's peak memory.
set -euo pipefail
export LC_ALL=C  # EPOCHREALTIME with a decimal point
build=${1:-build}
runs=${RUNS:-11}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config"
"$build/bench/gui/make_bench_file" "$work/Scenery.cfg" "${AREAS:-3001}" ${REVERSED:+reversed}

# One run of a program: "<ms to shown> <ms to its end> <peak KB>" appended
# to the file $1.
run() {
  local out=$1
  shift
  local t0=$EPOCHREALTIME shown
  shown=$(/usr/bin/time -f "%M" -o "$work/mem" "$@" 2>/dev/null | sed -n 's/^shown //p')
  local t1=$EPOCHREALTIME
  [ -n "$shown" ] || { echo "$* did not show its window" >&2; exit 1; }
  echo "$(((shown - ${t0/./}) / 10)) $(((${t1/./} - ${t0/./}) / 10)) $(tail -1 "$work/mem")" |
    awk '{printf "%.2f %.2f %d\n", $1 / 100, $2 / 100, $3}' >>"$out"
}
for i in $(seq "$runs"); do
  run "$work/editor" "$build/bench/gui/startup_probe" "$work/Scenery.cfg"
  run "$work/bare" "$build/bench/gui/bare_window"
  run "$work/label" "$build/bench/gui/bare_window" --label
done
median() { sort -n -k"$2" "$1" | awk -v k="$2" '{v[NR]=$k} END {print v[int((NR+1)/2)]}'; }
for k in 1 2; do
  e=$(median "$work/editor" $k) b=$(median "$work/bare" $k) l=$(median "$work/label" $k)
  awk -v e="$e" -v b="$b" -v l="$l" -v k=$k 'BEGIN {
    printf "%s: editor %.1f ms, bare window %.1f ms (ratio %.2f), window with a label %.1f ms (ratio %.2f)\n",
      k == 1 ? "to the window shown" : "to the process end ", e, b, e / b, l, e / l }'
done
echo "editor peak memory $(median "$work/editor" 3 | awk '{printf "%.1f", $1 / 1024}') MB; medians of $runs interleaved runs"
