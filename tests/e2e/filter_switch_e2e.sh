#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The built editor in a real X display: filter "France", select every entry
# shown, Space, save; the CLI then lists those areas inactive and no other.
# Ctrl+Z and a save bring them back.
source "$(dirname "$0")/lib.sh"
fs="$work/FS2000"
mkdir -p "$fs"
scenery_text "Base" "France North" "Spain" "France South" "Italy" >"$fs/Scenery.cfg"
remember "$fs/Scenery.cfg"

# active_titles : the titles of the active areas, one a line.
active_titles() {
  "$bin/sceneshifter-cli" list --json "$fs/Scenery.cfg" | python3 -c '
import json, sys
for a in json.load(sys.stdin):
    if str(a["active"]).lower() == "true":
        print(a["title"])'
}

in_display '
  wait_saved() {  # wait_saved COUNT DIR : until COUNT areas are inactive
    for i in $(seq 100); do
      [ "$(grep -c "^Active=False" "$2/FS2000/Scenery.cfg" || true)" = "$1" ] && return
      sleep 0.1
    done
    echo "the save did not come" >&2; return 1
  }
  "$1/sceneshifter" & pid=$!
  main=$(wait_window Sceneshifter)
  sleep 0.5
  xdotool windowfocus --sync "$main"
  xdotool key ctrl+l
  xdotool type --delay 30 France
  sleep 0.3
  xdotool key Down Home shift+End space
  sleep 0.3
  xdotool key ctrl+s
  wait_saved 2 "$2"
  cp "$2/FS2000/Scenery.cfg" "$2/switched.cfg"
  xdotool key ctrl+z
  sleep 0.3
  xdotool key ctrl+s
  wait_saved 0 "$2"
  end_editor $pid
' "$bin" "$work"

cp "$fs/Scenery.cfg" "$work/restored.cfg"
cp "$work/switched.cfg" "$fs/Scenery.cfg"
got=$(active_titles | tr '\n' ,)
if [ "$got" != "Base,Spain,Italy," ]; then
  echo "after Space and save, the active areas are: $got" >&2
  exit 1
fi
cp "$work/restored.cfg" "$fs/Scenery.cfg"
got=$(active_titles | tr '\n' ,)
if [ "$got" != "Base,France North,Spain,France South,Italy," ]; then
  echo "after Ctrl+Z and save, the active areas are: $got" >&2
  exit 1
fi
echo "the France areas were switched off, saved, and brought back by Ctrl+Z"
