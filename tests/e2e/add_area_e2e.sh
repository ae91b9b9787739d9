#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The built editor in a real X display, driven by keys and clicks: add an
# area through the folder picker, save, and compare the file byte for byte.
set -euo pipefail
bin=${1:?usage: add_area_e2e.sh BUILD_DIR}
bin=$(realpath "$bin")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fs="$work/FS2000"
mkdir -p "$fs/Addon Scenery/Alps/scenery" "$fs/Addon Scenery/Alps/texture"
printf '[General]\r\nTitle=FS2000 World Scenery\r\n\r\n' >"$fs/Scenery.cfg"
for n in 1 2 3; do
  printf '[Area.00%s]\r\nTitle=Area %s\r\nLocal=Scenery\\Area%s\r\nActive=TRUE\r\nRequired=FALSE\r\nLayer=%s\r\n\r\n' \
    "$n" "$n" "$n" "$n" >>"$fs/Scenery.cfg"
done
cp "$fs/Scenery.cfg" "$work/original.cfg"
# What the save must give: the areas as the writer puts them, then the new one.
"$bin/sceneshifter-cli" normalize "$fs/Scenery.cfg" --output "$work/expected.cfg" >/dev/null
printf '[Area.004]\r\nTitle=Alps Test\r\nLocal=Addon Scenery\\Alps\r\nActive=True\r\nRequired=False\r\nLayer=4\r\n\r\n' \
  >>"$work/expected.cfg"

# The picker opens at the remembered scenery folder.
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/Sceneshifter"
printf '[Paths]\nFSPath=%s\nScnryPath=Addon Scenery\\\\Alps\n' "$fs/Scenery.cfg" \
  >"$XDG_CONFIG_HOME/Sceneshifter/Sceneshifter.conf"
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
  "$1/sceneshifter" & pid=$!
  main=$(wait_window Sceneshifter)
  sleep 0.5
  xdotool windowfocus --sync "$main"
  xdotool key --window "$main" alt+a
  picker=$(wait_window "Find New Scenery")
  sleep 0.3
  xdotool windowfocus --sync "$picker"
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
  xdotool key ctrl+x
  for i in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  if kill -0 $pid 2>/dev/null; then kill $pid; echo "editor did not end" >&2; exit 1; fi
' _ "$bin"

if cmp -s "$fs/Scenery.cfg" "$work/expected.cfg"; then
  echo "saved file matches byte for byte"
else
  echo "saved file differs:" >&2
  diff <(od -c "$work/expected.cfg") <(od -c "$fs/Scenery.cfg") >&2 || true
  exit 1
fi
cmp "$fs/Scenery.cfg.bak" "$work/original.cfg"
echo "backup holds the original"
