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
# decides how long a real failure takes to be reported.
wait_for() {
  limit=$(( $1 * 10 )); shift
  i=0
  while ! "$@" >/dev/null 2>&1; do
    i=$((i + 1))
    [ "$i" -ge "$limit" ] && return 1
    sleep 0.1
  done
  return 0
}

# The title of the netglobe main window, as the window system shows it.
netglobe_title() {
  xwininfo -root -tree | sed -n 's/^ *0x[0-9a-f]* "\(.*\)": ("netglobe" "NetGlobe").*/\1/p' | head -1
}

title_has() { netglobe_title | grep -qF -- "$1"; }

alive() { kill -0 "$1" 2>/dev/null; }
dead() { ! kill -0 "$1" 2>/dev/null; }

# start_netsim ARGS...: starts netsim on a free port; sets SIM_PID, SIM_PORT.
start_netsim() {
  # The shell truncates the file only once the background job runs: until
  # then a restart would read the port of the netsim before.
  rm -f "$WORK/netsim.out"
  "$BIN/netsim" --port 0 "$@" > "$WORK/netsim.out" &
  SIM_PID=$!
  PIDS="$PIDS $SIM_PID"
  wait_for 20 grep -q "listening" "$WORK/netsim.out" || fail "netsim did not start"
  SIM_PORT=$(sed -n 's/^netsim listening on 127.0.0.1:\([0-9]*\)$/\1/p' "$WORK/netsim.out")
  [ -n "$SIM_PORT" ] || fail "no port in: $(cat "$WORK/netsim.out")"
}
