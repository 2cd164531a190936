#!/bin/sh
# History through real key presses against a network whose pilots move:
# netsim's clock is set 4 minutes further for each of three refreshes.
# "," "," shows the refresh two before the live one, "l" is live again, "t"
# draws the trail of the pilot flown to, and after kill -9 and a restart in
# the same folder "," still steps back into the kept refreshes.
. "$(dirname "$0")/lib.sh"

cp "$BIN"/*.dat "$BIN"/velmar.jpg "$WORK"/
T0=1765100000
start_netsim --seed 3 --clients 100 --time "$T0"
PORT=$SIM_PORT
"$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$PORT" --refresh 2 2>"$WORK/err" &
P=$!
PIDS="$PIDS $P"
wait_for 60 title_has " CTR=" || fail "no counts in the title: $(cat "$WORK/err")"

update() { tr -d '\r' < "$WORK/whazzup.txt" | sed -n 's/^UPDATE = //p'; }
U0=$(update)
# Two more refreshes, each with the network's clock 4 minutes on.
for step in 1 2; do
  kill -TERM "$SIM_PID"; wait "$SIM_PID" 2>/dev/null || true
  start_netsim --seed 3 --clients 100 --time $((T0 + 240 * step)) --port "$PORT"
  before=$(update)
  wait_for 30 sh -c "[ \"\$(tr -d '\r' < '$WORK/whazzup.txt' | sed -n 's/^UPDATE = //p')\" != '$before' ]" ||
    fail "no refresh with the clock at +$((240 * step)) s"
done
U2=$(update)
kill -TERM "$SIM_PID"; wait "$SIM_PID" 2>/dev/null || true  # from now on nothing new is kept
wait_for 20 title_has "update failed" || fail "refreshes did not fail without a server"

id=$(xdotool search --onlyvisible --pid "$P" | head -1)
key() { xdotool windowfocus --sync "$id" key "$@"; }

# Replay: two kept refreshes back is the first one.
key comma
wait_for 10 title_has "REPLAY " || fail "no replay after ,: $(netglobe_title)"
key comma
wait_for 10 title_has "REPLAY $U0 " || fail "not two refreshes back ($U0): $(netglobe_title)"
key l
wait_for 10 sh -c '! xwininfo -root -tree | grep -q "\"REPLAY "' || fail "l did not go live: $(netglobe_title)"

# The trail of a pilot that moved: fly to it, let its ring fade, then t.
callsign=BAW4207
centre() { xwd -root -silent | convert xwd:- -crop 241x241+373+346 -depth 8 txt:- | sed 1d | awk '{ print $3 }'; }
key ctrl+f
sleep 0.5
xdotool type --delay 50 "$callsign"
key Return
sleep 8  # the flight and the ring's few seconds
centre > "$WORK/before"
key t
sleep 2
centre > "$WORK/after"
changed=$(paste -d' ' "$WORK/before" "$WORK/after" | awk '$1 != $2' | wc -l)
[ "$changed" -gt 20 ] || fail "t drew no trail near $callsign ($changed pixels changed)"

# kill -9, then a restart in the same folder: the store reads.
kill -KILL "$P"
wait "$P" 2>/dev/null || true
"$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$PORT" --refresh 3600 2>"$WORK/err2" &
P=$!
PIDS="$PIDS $P"
wait_for 60 title_has " CTR=" || fail "no start after kill -9: $(cat "$WORK/err2")"
id=$(xdotool search --onlyvisible --pid "$P" | head -1)
# The store is read beside the startup: try until it is in.
i=0
until title_has "REPLAY "; do
  i=$((i + 1)); [ "$i" -gt 20 ] && fail "no replay after the restart: $(netglobe_title)"
  key comma
  sleep 0.5
done
title_has "REPLAY $U2 " || fail "the restart's first step back is not the newest kept refresh ($U2): $(netglobe_title)"
echo "ok"
