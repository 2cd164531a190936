# Shared helpers of the end-to-end tests: they drive the real executables
# under the virtual X server that ctest starts them in.
set -eu

BIN=${NETGLOBE_BIN:?NETGLOBE_BIN must name the folder with netglobe and netsim}
WORK=$(mktemp -d)
PIDS=""

cleanup() {
  for p in $PIDS; do kill -9 "$p" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# wait_for SECONDS COMMAND...: polls until COMMAND succeeds. The limits are
# generous: tests run side by side on a loaded machine, and a limit only
# decides how long a real failure takes to be reported. The limit is in
# seconds of the clock, however long each try takes (a screenshot can take
# a second on a loaded machine).
wait_for() {
  deadline=$(( $(date +%s) + $1 )); shift
  while ! "$@" >/dev/null 2>&1; do
    [ "$(date +%s)" -ge "$deadline" ] && return 1
    sleep 0.1
  done
  return 0
}

# The title of the netglobe main window, as the window system shows it.
netglobe_title() {
  xwininfo -root -tree | sed -n 's/^ *0x[0-9a-f]* "\(.*\)": ("netglobe" "NetGlobe").*/\1/p' | head -1
}

title_has() { netglobe_title | grep -qF -- "$1"; }

# The pick summary, the box at the window's top-left corner that names what
# lies under the cursor, read from outside as a user copies it: a click into
# the box, select all, copy. The clipboard holds a marker until then, so that
# a copy not yet made is never taken for one made; xclip takes the clipboard
# in a process of its own, so the marker is waited for too. Without a window
# manager the window lies at the screen's origin. Moving there picks again,
# and a pick that meets nothing keeps the name it had. An empty box (no pick
# yet) cannot be copied: the call fails after SECONDS (default 10).
pick_summary() {
  printf '%s' "$CLIPBOARD_MARKER" | xclip -selection clipboard -i >/dev/null 2>&1
  wait_for 10 clipboard_is "$CLIPBOARD_MARKER" || return 1
  xdotool mousemove 5 5 click 1 key ctrl+a ctrl+c
  wait_for "${1:-10}" not clipboard_is "$CLIPBOARD_MARKER" || return 1
  xclip -selection clipboard -o
}
CLIPBOARD_MARKER="(nothing copied)"
clipboard_is() { [ "$(xclip -selection clipboard -o 2>/dev/null)" = "$1" ]; }
not() { ! "$@"; }

alive() { kill -0 "$1" 2>/dev/null; }
dead() { ! kill -0 "$1" 2>/dev/null; }

# start_netsim ARGS...: starts netsim on a free port; sets SIM_PID, SIM_PORT.
# Each start gets an output file of its own: a second netsim must not be
# read from the first one's line before its own output replaces it.
start_netsim() {
  SIM_OUT=$(mktemp "$WORK/netsim.XXXXXX")
  "$BIN/netsim" --port 0 "$@" > "$SIM_OUT" &
  SIM_PID=$!
  PIDS="$PIDS $SIM_PID"
  wait_for 20 grep -q "listening on 127.0.0.1:[0-9][0-9]*\$" "$SIM_OUT" || fail "netsim did not start"
  SIM_PORT=$(sed -n 's/^netsim listening on 127.0.0.1:\([0-9]*\)$/\1/p' "$SIM_OUT")
  [ -n "$SIM_PORT" ] || fail "no port in netsim's line: $(cat "$SIM_OUT")"
}
