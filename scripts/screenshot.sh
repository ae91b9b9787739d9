#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Takes docs/screenshot.png: the editor with the bundled example loaded, in a
# virtual X display, with a settings store of its own.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}
mkdir -p "$(dirname "$out")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fs="$work/FS2000"
# The bundled example whole: its add-on folders, one of them missing, so that
# the list marks only that one.
mkdir -p "$fs"
cp -R examples/. "$fs/"
export XDG_CONFIG_HOME="$work/config"
xvfb-run -a -s "-screen 0 800x600x24" bash -c '
  ./build/sceneshifter "$1" & pid=$!
  for i in $(seq 50); do
    xdotool search --name "^Sceneshifter$" >/dev/null 2>&1 && break; sleep 0.1
  done
  sleep 1
  xdotool key Return        # the "has sorted" message, when it shows
  sleep 0.5
  win=$(xdotool search --name "^Sceneshifter$" | head -1)
  xdotool windowfocus --sync "$win"
  # Area 12, which has exclude and flatten values.
  xdotool mousemove --window "$win" 60 70 click 1
  xdotool key Home $(printf "Down %.0s" $(seq 11))
  sleep 0.3
  import -window "$win" "$2"
  kill $pid' _ "$fs/Scenery.cfg" "$(realpath -m "$out")"
echo "wrote $out"
