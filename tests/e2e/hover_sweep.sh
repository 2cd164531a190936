#!/bin/sh
# Every mouse move runs a picking pass over all layers of a busy network:
# sweeping the cursor over the window must name objects and never crash.
. "$(dirname "$0")/lib.sh"

cp "$BIN"/*.dat "$WORK"/
start_netsim --seed 11 --clients 3000
"$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$SIM_PORT" 2>"$WORK/err" &
P=$!
PIDS="$PIDS $P"
wait_for 60 title_has " CTR=" || fail "no counts in the title: $(cat "$WORK/err")"
sleep 3  # the traffic layers follow the counts
for y in 150 300 450 600 750; do
  for x in 100 250 400 550 700 850; do
    # Without a window manager the window lies at the screen's origin.
    xdotool mousemove "$x" "$y"
    xdotool mousemove $((x + 7)) $((y + 5))
  done
done
# Drag with the left button to turn the globe while picking.
xdotool mousemove 400 400 mousedown 1 mousemove 500 450 mouseup 1
sleep 1
alive "$P" || fail "netglobe ended during the sweep: $(cat "$WORK/err")"
kill -TERM "$P"
status=0
wait "$P" 2>/dev/null || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
echo "ok"
