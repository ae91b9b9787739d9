#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The built editor in a real X display, driven by keys and clicks: add an
# area through the folder picker, save, and compare the file byte for byte.
source "$(dirname "$0")/lib.sh"
fs="$work/FS2000"
mkdir -p "$fs/Addon Scenery/Alps/scenery" "$fs/Addon Scenery/Alps/texture"
scenery_text "Area 1" "Area 2" "Area 3" >"$fs/Scenery.cfg"
cp "$fs/Scenery.cfg" "$work/original.cfg"
# What the save must give: the areas as the writer puts them, then the new one.
"$bin/sceneshifter-cli" normalize "$fs/Scenery.cfg" --output "$work/expected.cfg" >/dev/null
printf '[Area.004]\r\nTitle=Alps Test\r\nLocal=Addon Scenery\\Alps\r\nActive=True\r\nRequired=False\r\nLayer=4\r\n\r\n' \
  >>"$work/expected.cfg"
# The picker opens beside the remembered scenery folder, which is highlighted.
remember "$fs/Scenery.cfg" 'ScnryPath=Addon Scenery\\Alps'

in_display '
  "$1/sceneshifter" & pid=$!
  main=$(wait_window Sceneshifter)
  sleep 0.5
  xdotool windowfocus --sync "$main"
  xdotool key --window "$main" alt+a
  picker=$(wait_window "Find New Scenery")
  sleep 0.3
  xdotool windowfocus --sync "$picker"
  xdotool key Return               # opens the highlighted Alps
  sleep 0.3
  xdotool key Tab Tab space        # Dir1, Drive1, then O K
  sleep 0.5
  xdotool windowfocus --sync "$main"
  # The title box, below the menu bar.
  xdotool mousemove --window "$main" 456 88 click 1
  xdotool type --delay 20 "Alps Test"
  xdotool key Return               # O K
  sleep 0.3
  xdotool key ctrl+s
  sleep 0.5
  end_editor $pid
' "$bin"

same_bytes "$work/expected.cfg" "$fs/Scenery.cfg" "saved file"
echo "saved file matches byte for byte"
cmp "$fs/Scenery.cfg.bak" "$work/original.cfg"
echo "backup holds the original"
