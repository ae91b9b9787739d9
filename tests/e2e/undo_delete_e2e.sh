#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The built editor in a real X display: Delete, save, Ctrl+Z, save again;
# the second save holds the original table byte for byte.
source "$(dirname "$0")/lib.sh"
fs="$work/FS2000"
mkdir -p "$fs"
scenery_text "Area 1" "Area 2" "Area 3" >"$fs/Scenery.cfg"
# The original table as the writer puts it.
"$bin/sceneshifter-cli" normalize "$fs/Scenery.cfg" --output "$work/expected.cfg" >/dev/null
remember "$fs/Scenery.cfg"

in_display '
  # Waits until the saved file does (1) or does not (0) hold Area 3.
  wait_saved() {
    for i in $(seq 100); do
      if [ -f "$2/FS2000/Scenery.cfg.bak" ]; then
        if grep -q "Area 3" "$2/FS2000/Scenery.cfg"; then has=1; else has=0; fi
        [ "$has" = "$1" ] && return
      fi
      sleep 0.1
    done
    echo "the save did not come" >&2; return 1
  }
  "$1/sceneshifter" & pid=$!
  main=$(wait_window Sceneshifter)
  sleep 0.5
  xdotool windowfocus --sync "$main"
  xdotool key --window "$main" alt+d   # Delete the selected (last) area
  sleep 0.3
  xdotool key ctrl+s
  wait_saved 0 "$2"
  cp "$2/FS2000/Scenery.cfg" "$2/deleted.cfg"
  xdotool key ctrl+z
  sleep 0.3
  xdotool key ctrl+s
  wait_saved 1 "$2"
  end_editor $pid
' "$bin" "$work"

if grep -q "Area 3" "$work/deleted.cfg" || ! grep -q "Area 2" "$work/deleted.cfg"; then
  echo "the Delete was not saved as expected" >&2
  exit 1
fi
same_bytes "$work/expected.cfg" "$fs/Scenery.cfg" "saved file after Ctrl+Z"
echo "saved file after Ctrl+Z matches the original table byte for byte"
