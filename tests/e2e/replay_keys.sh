#!/bin/sh
# Replay keys held down beside live refreshes: "," and "." typed every 40 to
# 90 ms for 20 s while a network of 3000 places is fetched every second,
# then "l". The refreshes must go on and the title must be live again.
# Refreshes that stopped for good make no request at all; tests side by side
# on two cores slow each one down, so at least MIN_REQUESTS_AFTER (3 unless
# set; 6 on an idle machine) in the next 10 s. Prints the figures it measured.
. "$(dirname "$0")/lib.sh"

cp "$BIN"/*.dat "$BIN"/velmar.jpg "$WORK"/
start_netsim --seed 5 --clients 3000 --time 1765100000 --time-step 30 --log "$WORK/answers"
"$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$SIM_PORT" --refresh 1 2>"$WORK/err" &
P=$!
PIDS="$PIDS $P"
wait_for 90 title_has " CTR=" || fail "no counts in the title: $(cat "$WORK/err")"
# A few refreshes kept, so that there is something to step through.
wait_for 60 sh -c "[ \$(wc -l < '$WORK/answers') -ge 4 ]" || fail "fewer than four requests"
id=$(xdotool search --onlyvisible --pid "$P" | head -1)
xdotool windowfocus --sync "$id"

requests() { wc -l < "$WORK/answers"; }
before=$(requests)
end=$(( $(date +%s) + 20 ))
keys=0
seed=$$
while [ "$(date +%s)" -lt "$end" ]; do
  # Thirty keys at a time, 40 to 90 ms apart, "," and "." at random.
  seed=$(( (seed * 1103515245 + 12345) % 2147483648 ))
  delay=$(( 40 + seed % 51 ))
  set --
  for i in $(seq 30); do
    seed=$(( (seed * 1103515245 + 12345) % 2147483648 ))
    if [ $(( seed / 65536 % 2 )) -eq 0 ]; then set -- "$@" comma; else set -- "$@" period; fi
  done
  xdotool key --delay "$delay" "$@"
  keys=$((keys + 30))
done
during=$(( $(requests) - before ))
alive "$P" || fail "netglobe ended while the keys were typed: $(cat "$WORK/err")"

xdotool key l
at=$(requests)
sleep 10
after=$(( $(requests) - at ))
# A refresh every second: the title reads "Loading..." while each one is
# fetched, more so on a busy machine; a live title with counts comes between.
wait_for 30 title_has " CTR=" || true
title=$(netglobe_title)
echo "keys typed: $keys in 20 s; requests during them: $during; in the 10 s after l: $after; title: $title"
[ "$after" -ge "${MIN_REQUESTS_AFTER:-3}" ] || fail "only $after requests in the 10 s after l"
case "$title" in
  *REPLAY*|"") fail "the title is not live: $title" ;;
  *" CTR="*) ;;
  *) fail "the title shows no counts: $title" ;;
esac
echo "ok"
