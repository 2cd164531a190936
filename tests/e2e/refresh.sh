#!/bin/sh
# The 30-second refresh fetches a new status file and shows its counts.
. "$(dirname "$0")/lib.sh"

start_netsim --seed 3 --clients 200
"$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$SIM_PORT" 2>"$WORK/err" &
P=$!
PIDS="$PIDS $P"
wait_for 60 title_has " CTR=" || fail "no counts in the title"
first=$(tr -d '\r' < "$WORK/whazzup.txt" | grep '^UPDATE = ')
changed() { [ "$(tr -d '\r' < "$WORK/whazzup.txt" | grep '^UPDATE = ')" != "$first" ]; }
wait_for 75 changed || fail "no refresh within 75 s"
wait_for 20 title_has " CTR=" || fail "no counts after the refresh"
echo "refreshed: $first -> $(tr -d '\r' < "$WORK/whazzup.txt" | grep '^UPDATE = '); $(netglobe_title)"
echo "ok"
