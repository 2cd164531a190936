#!/bin/sh
# Without a configured server netglobe runs the demo network beside it, and
# the demo network never outlives it: not after a normal end, not after a kill.
. "$(dirname "$0")/lib.sh"

cp "$BIN"/*.dat "$WORK"/
unset NETGLOBE_SERVER

for how in TERM KILL; do
  "$BIN/netglobe" --folder "$WORK" 2>"$WORK/err" &
  P=$!
  PIDS="$PIDS $P"
  wait_for 60 title_has " CTR=" || fail "no counts in the title: $(netglobe_title) $(cat "$WORK/err")"
  title_has "(update failed" && fail "demo network not used: $(netglobe_title)"
  grep -q "built-in demo network at 127.0.0.1:" "$WORK/err" || fail "not said on stderr"
  SIM=$(pgrep -P "$P" -x netsim) || fail "no netsim child"
  echo "$how: netglobe $P, netsim $SIM, title $(netglobe_title)"
  kill -"$how" "$P"
  status=0
  wait "$P" 2>/dev/null || status=$?
  if [ "$how" = TERM ]; then
    [ "$status" -eq 0 ] || fail "SIGTERM did not end the program normally ($status)"
  fi
  wait_for 15 dead "$SIM" || fail "netsim $SIM outlived netglobe after SIG$how"
done
echo "ok"
