#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The built editor in a real X display: Delete, save, Ctrl+Z, save again;
# the second save holds the original table byte for byte.
set -euo pipefail
bin=${1:?usage: undo_delete_e2e.sh BUILD_DIR}
bin=$(realpath "$bin")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fs="$work/FS2000"
mkdir -p "$fs"
printf '[General]\r\nTitle=FS2000 World Scenery\r\n\r\n' >"$fs/Scenery.cfg"
for n in 1 2 3; do
  printf '[Area.00%s]\r\nTitle=Area %s\r\nLocal=Scenery\\Area%s\r\nActive=TRUE\r\nRequired=FALSE\r\nLayer=%s\r\n\r\n' \
    "$n" "$n" "$n" "$n" >>"$fs/Scenery.cfg"
done
# The original table as the writer puts it.
"$bin/sceneshifter-cli" normalize "$fs/Scenery.cfg" --output "$work/expected.cfg" >/dev/null

export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/Sceneshifter"
printf '[Paths]\nFSPath=%s\n' "$fs/Scenery.cfg" >"$XDG_CONFIG_HOME/Sceneshifter/Sceneshifter.conf"
unset QT_QPA_PLATFORM

xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  set -euo pipefail
  wait_window() {
    for i in $(seq 100); do
      id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) && [ -n "$id" ] && { echo "$id"; return; }
      sleep 0.1
    done
    echo "no window named $1" >&2; return 1
  }
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
  xdotool key ctrl+x
  for i in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  if kill -0 $pid 2>/dev/null; then kill $pid; echo "editor did not end" >&2; exit 1; fi
' _ "$bin" "$work"

if grep -q "Area 3" "$work/deleted.cfg" || ! grep -q "Area 2" "$work/deleted.cfg"; then
  echo "the Delete was not saved as expected" >&2
  exit 1
fi
if cmp -s "$fs/Scenery.cfg" "$work/expected.cfg"; then
  echo "saved file after Ctrl+Z matches the original table byte for byte"
else
  echo "saved file differs:" >&2
  diff <(od -c "$work/expected.cfg") <(od -c "$fs/Scenery.cfg") >&2 || true
  exit 1
fi
