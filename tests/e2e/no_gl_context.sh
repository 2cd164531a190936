#!/bin/sh
# Without a usable GL context the program shows its one message box and
# ends with a failure status once it is dismissed.
. "$(dirname "$0")/lib.sh"

QT_XCB_GL_INTEGRATION=none "$BIN/netglobe" --folder "$WORK" --server 127.0.0.1:1 2>"$WORK/err" &
P=$!
PIDS="$PIDS $P"
wait_for 30 xdotool search --name '^Error$' || fail "no error box"
grep -q "Can't create OpenGL context!" "$WORK/err" || fail "nothing said on stderr"
box=$(xdotool search --name '^Error$' | head -1)
xdotool windowfocus --sync "$box" key Return
status=0
wait "$P" || status=$?
[ "$status" -ne 0 ] || fail "exit status 0 after the error"
[ ! -e "$WORK/whazzup.txt" ] || fail "startup ran without a context"
echo "ok: error box, exit status $status"
