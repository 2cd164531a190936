#!/bin/sh
# A configured status server: the counts reach the title and the stored copy
# holds the body with CR LF line ends. With the server gone, a new start
# keeps that copy byte for byte and says why the update failed.
. "$(dirname "$0")/lib.sh"

start_netsim --seed 7 --clients 300 --time 1796630400
"$BIN/netsim" --once --seed 7 --clients 300 --time 1796630400 > "$WORK/body.txt"

"$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$SIM_PORT" 2>"$WORK/err1" &
P=$!
PIDS="$PIDS $P"
wait_for 60 title_has " CTR=" || fail "no counts in the title: $(netglobe_title)"
title=$(netglobe_title)
echo "title: $title"
clients=$(sed -n 's/^CONNECTED CLIENTS = //p' "$WORK/body.txt")
echo "$title" | grep -Eq "^ CTR=[0-9]+ APP=[0-9]+ TWR=[0-9]+ PIL=[0-9]+ CLI=$clients TOP=$clients\$" \
  || fail "unexpected title: $title (server has $clients clients)"

copy="$WORK/whazzup.txt"
head -c 10 "$copy" | od -c | grep -q '!   G   E   N   E   R   A   L  \\r  \\n' || fail "no CR LF"
[ "$(tail -c 4 "$copy" | od -An -c | tr -d ' ')" = '\r\n\r\n' ] || fail "copy does not end in an empty line"
[ "$(wc -l < "$copy")" -eq "$(( $(wc -l < "$WORK/body.txt") + 1 ))" ] || fail "line count differs"
[ "$(tr -d '\r' < "$copy" | grep -c "^CONNECTED CLIENTS = $clients\$")" -eq 1 ] || fail "header lost"

kill "$P"; wait "$P" 2>/dev/null || true
kill "$SIM_PID"; wait "$SIM_PID" 2>/dev/null || true
before=$(sha256sum < "$copy")

"$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$SIM_PORT" 2>"$WORK/err2" &
P=$!
PIDS="$PIDS $P"
wait_for 60 title_has "(update failed:" || fail "no failure in the title: $(netglobe_title)"
echo "title: $(netglobe_title)"
title_has "$(echo "$title" | sed 's/ TOP=.*//')" || fail "counts of the kept copy not shown"
title_has "(update failed: connection refused)" || fail "reason not given"
[ "$(sha256sum < "$copy")" = "$before" ] || fail "the kept copy changed"
kill "$P"; wait "$P" 2>/dev/null || true
echo "ok"
