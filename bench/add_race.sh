#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Races two `sceneshifter-cli add` runs on one file, ROUNDS times, and counts
# the changes lost (a run that exited 0 whose area is missing), the runs
# that waited for the other's lock (seen by strace as a refused flock) and
# the runs that gave up saying the file is in use.
#   bash bench/add_race.sh [ROUNDS] [CLI]     (default 200, build/sceneshifter-cli)
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-200}
cli=$(realpath "${2:-build/sceneshifter-cli}")
[ -x "$cli" ] || { echo "build the CLI first" >&2; exit 1; }
trace=()
if command -v strace >/dev/null; then
  trace=(strace -f -qq --seccomp-bpf -e trace=flock -o)
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
lost=0 waited=0 busy=0 both=0
one() {  # TITLE : one add, its status, stderr and flock trace in $work
  local status=0
  if [ ${#trace[@]} -gt 0 ]; then
    "${trace[@]}" "$work/$1.trace" "$cli" add "$work/Scenery.cfg" \
      --title "$1" --local "$1" >/dev/null 2>"$work/$1.err" || status=$?
  else
    "$cli" add "$work/Scenery.cfg" --title "$1" --local "$1" \
      >/dev/null 2>"$work/$1.err" || status=$?
  fi
  echo "$status" >"$work/$1.status"
}
for _ in $(seq "$rounds"); do
  cp examples/Scenery.cfg "$work/Scenery.cfg"
  rm -f "$work"/*.trace "$work"/*.err "$work"/*.status
  one RaceA & one RaceB & wait
  ok=0
  for t in RaceA RaceB; do
    # A run that failed says why; one that saved may still warn (the
    # folder named does not exist here).
    if [ "$(cat "$work/$t.status")" != 0 ]; then
      grep -q "in use by another program" "$work/$t.err" && busy=$((busy + 1))
    elif grep -q "^Title=$t" "$work/Scenery.cfg"; then
      ok=$((ok + 1))
    else
      lost=$((lost + 1))
    fi
    if [ -f "$work/$t.trace" ] && grep -q EAGAIN "$work/$t.trace"; then
      waited=$((waited + 1))
    fi
  done
  [ "$ok" -eq 2 ] && both=$((both + 1))
done
echo "rounds: $rounds (two adds each)"
echo "both changes in the file: $both"
echo "changes lost: $lost"
echo "runs that waited for the lock: $waited"
echo "runs that failed, in use: $busy"
