#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The built editor in a real X display while another program changes the
# scenery file: with unsaved changes the editor asks (Cancel, then Ctrl+S
# asks again, Overwrite); with none it reloads by itself. Checks the
# question windows and the bytes on disk. SHOTS=DIR keeps screenshots.
source "$(dirname "$0")/lib.sh"
cfg="$work/FS2000/Scenery.cfg"
mkdir -p "$work/FS2000"
scenery_text "Area 1" "Area 2" "Area 3" >"$cfg"
scenery_text "Area 1" "Area 2" "Area 3" "Installed" >"$work/theirs.cfg"
scenery_text "Area 1" "Area 2" "Installed 2" >"$work/theirs2.cfg"
scenery_text "Area 1" "Area 2" >"$work/ours.cfg"
scenery_text "Area 1" "Installed 2" >"$work/final.cfg"
remember "$cfg"

in_display '
  bin=$1 work=$2 cfg=$3 shots=${4:-}
  shot() { [ -z "$shots" ] || import -window root "$shots/$1.png"; }
  windows() { xdotool search --onlyvisible --name "^Sceneshifter\$" 2>/dev/null | wc -l; }
  # Waits until N windows named Sceneshifter are shown (the main window and
  # N - 1 questions); prints the newest.
  wait_windows() {
    for i in $(seq 100); do
      [ "$(windows)" -eq "$1" ] && { xdotool search --onlyvisible --name "^Sceneshifter\$" | tail -1; return; }
      sleep 0.1
    done
    echo "expected $1 windows named Sceneshifter, found $(windows)" >&2; return 1
  }
  # Another program replaces the file as installers do: a new file renamed
  # over the old one.
  replace() { cp "$1" "$cfg.installer"; mv "$cfg.installer" "$cfg"; }
  "$bin/sceneshifter" & pid=$!
  main=$(wait_windows 1)
  sleep 0.5
  xdotool windowfocus --sync "$main"
  xdotool key --window "$main" alt+d   # the last area, selected at start
  sleep 0.3

  replace "$work/theirs.cfg"
  question=$(wait_windows 2)           # seen while the changes are unsaved
  sleep 0.3; shot 1-question-when-seen
  xdotool windowfocus --sync "$question"
  xdotool key Escape                   # Cancel
  wait_windows 1 >/dev/null
  cmp "$cfg" "$work/theirs.cfg"

  xdotool windowfocus --sync "$main"
  xdotool key ctrl+s                   # asks again before writing
  question=$(wait_windows 2)
  sleep 0.3; shot 2-question-on-save
  xdotool windowfocus --sync "$question"
  xdotool key alt+w                    # Overwrite
  wait_windows 1 >/dev/null
  sleep 0.5; shot 3-overwritten
  cmp "$cfg" "$work/ours.cfg"
  cmp "$cfg.bak" "$work/theirs.cfg"

  # Nothing unsaved now: a change is reloaded without a question, keeping
  # the selected area ("Area 2"), which the next Delete removes.
  replace "$work/theirs2.cfg"
  sleep 1.5
  [ "$(windows)" -eq 1 ] || { echo "a question was asked" >&2; exit 1; }
  shot 4-reloaded
  xdotool windowfocus --sync "$main"
  xdotool key alt+d
  sleep 0.2
  xdotool key ctrl+s
  sleep 0.5
  [ "$(windows)" -eq 1 ] || { echo "a question was asked" >&2; exit 1; }
  end_editor $pid
' "$bin" "$work" "$cfg" "${SHOTS:-}"

cmp "$cfg" "$work/final.cfg"
cmp "$cfg.bak" "$work/theirs2.cfg"
echo "the other program's change was asked about, kept in the backup, and reloaded"
