#!/bin/sh
# History through real key presses against a network whose pilots move:
# each request sees netsim's network two minutes after the one before.
# While refreshes go on, "," "," steps back through two kept refreshes and
# stays there, "l" is live again; with the server held, "t"
# draws the trail of the pilot flown to, and after kill -9 and a restart in
# the same folder "," still steps back into the kept refreshes.
. "$(dirname "$0")/lib.sh"

cp "$BIN"/*.dat "$BIN"/velmar.jpg "$WORK"/
# Each request sees the network two minutes after the one before.
start_netsim --seed 3 --clients 100 --time 1765100000 --time-step 120 --log "$WORK/answers"
"$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$SIM_PORT" --refresh 2 2>"$WORK/err" &
P=$!
PIDS="$PIDS $P"
wait_for 60 title_has " CTR=" || fail "no counts in the title: $(cat "$WORK/err")"
oks() { awk '$2 == "ok" { print $4 }' "$WORK/answers"; }
answered() { [ "$(oks | wc -l)" -ge "$1" ]; }
wait_for 60 answered 5 || fail "fewer than five answers"
replayed() { netglobe_title | sed -n 's/^REPLAY \([0-9]*\) .*/\1/p'; }

id=$(xdotool search --onlyvisible --pid "$P" | head -1)
key() { xdotool windowfocus --sync "$id" key "$@"; }

# Replay beside the live refreshes, which go on: "," steps to a kept
# refresh, "," again to the one kept before it.
key comma
wait_for 10 title_has "REPLAY " || fail "no replay after ,: $(netglobe_title)"
first=$(replayed)
key comma
wait_for 10 not title_has "REPLAY $first " || fail "a second , stayed on $first: $(netglobe_title)"
second=$(replayed)
before=$(oks | grep -B1 -x "$first" | head -1)
[ "$second" = "$before" ] || fail "\",\" from $first showed $second, not the refresh kept before it ($before)"
# The refreshes go on and are kept; the replay stays on screen.
n=$(oks | wc -l)
wait_for 30 answered $((n + 3)) || fail "refreshes stopped during replay"
title_has "REPLAY $second " || fail "a live refresh replaced the replay: $(netglobe_title)"
key l
wait_for 10 sh -c '! xwininfo -root -tree | grep -q "\"REPLAY "' || fail "l did not go live: $(netglobe_title)"

# From now on the server holds every request: nothing new is kept, and its
# port stays its own.
kill -STOP "$SIM_PID"
sleep 3  # the last answer is stored and kept
# The UPDATE times of the good answers, newest last.
update() { tr -d '\r' < "$WORK/whazzup.txt" | sed -n 's/^UPDATE = //p'; }
U2=$(update)
oks | grep -qx "$U2" || fail "the copy ($U2) is not among the answers"

# The trail of a pilot that moved: fly to it, let its ring fade, then t.
callsign=$(tr -d '\r' < "$WORK/whazzup.txt" |
  awk -F: 'NR > 7 && $4 == "PILOT" && $9 > 300 && length($1) > 3 { print $1; exit }')
[ -n "$callsign" ] || fail "no flying pilot in the copy"
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
"$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$SIM_PORT" --refresh 3600 2>"$WORK/err2" &
P=$!
PIDS="$PIDS $P"
# Its download is held until it times out; the startup ends after that.
wait_for 90 title_has " CTR=" || fail "no start after kill -9: $(cat "$WORK/err2")"
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
