# SPDX-License-Identifier: MIT
# What the end-to-end scripts share; sourced by each with the build folder as
# its first argument. Sets bin (the build folder) and work (a temporary
# folder, removed at exit) and points the settings store and the user's
# data into work.
set -euo pipefail
bin=$(realpath "${1:?usage: $(basename "$0") BUILD_DIR}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
# Versions that saves keep stay in the work folder too.
export XDG_DATA_HOME="$work/data"
mkdir -p "$XDG_CONFIG_HOME/Sceneshifter"
unset QT_QPA_PLATFORM

# scenery_text TITLE... : a scenery text with one area per title.
scenery_text() {
  printf '[General]\r\nTitle=FS2000 World Scenery\r\n\r\n'
  local n=0
  for t in "$@"; do
    n=$((n + 1))
    printf '[Area.%03d]\r\nTitle=%s\r\nLocal=Scenery\\%s\r\nActive=True\r\nRequired=False\r\nLayer=%s\r\n\r\n' \
      "$n" "$t" "$t" "$n"
  done
}

# remember FILE [SETTINGS-LINE...] : the editor starts on FILE.
remember() {
  local file=$1
  shift
  printf '[Paths]\nFSPath=%s\n' "$file" >"$XDG_CONFIG_HOME/Sceneshifter/Sceneshifter.conf"
  [ $# -eq 0 ] || printf '%s\n' "$@" >>"$XDG_CONFIG_HOME/Sceneshifter/Sceneshifter.conf"
}

# The helpers below run inside the display: in_display SCRIPT ARG... runs
# SCRIPT with bash under a fresh Xvfb, its arguments as $1...
wait_window() {  # wait_window NAME : prints the id of the shown window NAME
  local i id
  for i in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) && [ -n "$id" ] && {
      echo "$id"
      return
    }
    sleep 0.1
  done
  echo "no window named $1" >&2
  return 1
}
end_editor() {  # end_editor PID : Exit with Ctrl+X; the editor must end
  local i
  xdotool key ctrl+x
  for i in $(seq 50); do kill -0 "$1" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$1" 2>/dev/null; then
    kill "$1"
    echo "editor did not end" >&2
    return 1
  fi
}
in_display() {
  # xvfb-run is a POSIX shell script, which drops exported functions: the
  # helpers go in as text.
  local script=$1
  shift
  xvfb-run -a -s "-screen 0 1024x768x24" bash -c \
    "set -euo pipefail; $(declare -f wait_window end_editor); $script" _ "$@"
}

# same_bytes EXPECTED ACTUAL WHAT : compares, showing the difference.
same_bytes() {
  if ! cmp -s "$1" "$2"; then
    echo "$3 differs:" >&2
    diff <(od -c "$1") <(od -c "$2") >&2 || true
    return 1
  fi
}
