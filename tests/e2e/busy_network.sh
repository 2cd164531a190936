#!/bin/sh
# A network busier than the lists once held: the title counts every pilot
# and every client of the status file.
. "$(dirname "$0")/lib.sh"

cp "$BIN"/*.dat "$WORK"/
# At this fixed time netsim's 3438 places hold 2500 pilots.
start_netsim --seed 1 --clients 3438 --time 1765100000
"$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$SIM_PORT" --refresh 3600 2>"$WORK/err" &
P=$!
PIDS="$PIDS $P"
wait_for 90 title_has " CTR=" || fail "no counts in the title: $(cat "$WORK/err")"
tr -d '\r' < "$WORK/whazzup.txt" | sed -n '8,$p' | sed '/^!/,$d' > "$WORK/clients"
pilots=$(awk -F: '$4 == "PILOT"' "$WORK/clients" | wc -l)
clients=$(wc -l < "$WORK/clients")
[ "$pilots" -eq 2500 ] || fail "netsim served $pilots pilots, expected 2500"
title_has " PIL=2500 CLI=$clients " || fail "the title says \"$(netglobe_title)\", the copy has $clients clients"
echo "$(netglobe_title)"
alive "$P" || fail "netglobe ended: $(cat "$WORK/err")"
kill -TERM "$P"
status=0
wait "$P" 2>/dev/null || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
echo "ok"
