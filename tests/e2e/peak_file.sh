#!/bin/sh
# The day's peak survives a killed program: it is written as soon as a
# refresh raises it, and a restart on the same day starts from it.
. "$(dirname "$0")/lib.sh"

start_netsim --seed 5 --clients 300
"$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$SIM_PORT" 2>"$WORK/err" &
P=$!
PIDS="$PIDS $P"
wait_for 60 title_has " CTR=" || fail "no counts in the title: $(cat "$WORK/err")"
top=$(netglobe_title | sed -n 's/.* TOP=\([0-9]*\).*/\1/p')
[ "${top:-0}" -gt 1 ] || fail "no peak in the title: $(netglobe_title)"
kill -KILL "$P"
wait "$P" 2>/dev/null || true
[ "$(head -1 "$WORK/topconn.txt" | tr -d '\r')" = "$top" ] || fail "topconn.txt after SIGKILL: $(cat "$WORK/topconn.txt")"
sed -n 2p "$WORK/topconn.txt" | tr -d '\r' | grep -qx "$(date +%Y-%m-%d)" || fail "no ISO date: $(cat "$WORK/topconn.txt")"

# Restarted against a smaller network the same day, the peak stays.
kill "$SIM_PID"
start_netsim --seed 5 --clients 20
"$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$SIM_PORT" 2>"$WORK/err" &
P=$!
PIDS="$PIDS $P"
wait_for 60 title_has " CTR=" || fail "no counts after the restart: $(netglobe_title) alive=$(alive "$P" && echo yes || echo no) $(cat "$WORK/err")"
title_has " TOP=$top" || fail "peak lost across the restart: $(netglobe_title), was $top"
kill -TERM "$P"
wait "$P" 2>/dev/null || true
[ "$(head -1 "$WORK/topconn.txt" | tr -d '\r')" = "$top" ] || fail "topconn.txt after the restart: $(cat "$WORK/topconn.txt")"
echo "ok: peak $top kept"
