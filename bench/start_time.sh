#!/bin/sh
# Start to the first title with counts: netglobe against netsim on a display
# of its own, a fresh folder each run; prints each run and the median.
# Usage: tests/with-display.sh bench/start_time.sh BIN_FOLDER [CLIENTS] [RUNS]
# The title is watched by netglobe_title_watch (built beside netglobe), which
# waits for X events: a poll starting programs every few milliseconds took
# the CPU from the program it measured and added about 40 % to the time.
set -eu

BIN=$1
CLIENTS=${2:-600}
RUNS=${3:-5}
WORK=$(mktemp -d)
SIM=""
APP=""
WATCH=""
trap 'kill -9 $SIM $APP $WATCH 2>/dev/null || true; rm -rf "$WORK"' EXIT

: > "$WORK/netsim.out"
"$BIN/netsim" --port 0 --seed 5 --clients "$CLIENTS" > "$WORK/netsim.out" &
SIM=$!
i=0
until PORT=$(sed -n 's/^netsim listening on 127.0.0.1:\([0-9]*\)$/\1/p' "$WORK/netsim.out") && [ -n "$PORT" ]; do
  i=$((i + 1)); [ "$i" -lt 200 ] || { echo "netsim did not start" >&2; exit 1; }
  sleep 0.05
done

run=1
: > "$WORK/times"
while [ "$run" -le "$RUNS" ]; do
  folder="$WORK/run$run"
  mkdir -p "$folder"
  cp "$BIN"/*.dat "$BIN"/*.jpg "$folder"/
  # The watch is ready before the clock starts; it prints when the title
  # with counts came.
  "$BIN/netglobe_title_watch" " CTR=" 30 > "$folder/seen" &
  WATCH=$!
  i=0
  until grep -q '^ready$' "$folder/seen"; do
    i=$((i + 1)); [ "$i" -lt 200 ] || { echo "the title watch did not start" >&2; exit 1; }
    sleep 0.05
  done
  start=$(date +%s.%N)
  "$BIN/netglobe" --folder "$folder" --server "127.0.0.1:$PORT" 2>"$folder/err" &
  APP=$!
  wait "$WATCH" || { echo "no counts: $(cat "$folder/err")" >&2; exit 1; }
  WATCH=""
  end=$(sed -n 2p "$folder/seen")
  kill -TERM "$APP"; wait "$APP" 2>/dev/null || true
  APP=""
  echo "$end - $start" | bc -l | tee -a "$WORK/times" | sed "s/^/run $run: /;s/\$/ s/"
  run=$((run + 1))
done
sort -n "$WORK/times" | awk '{ t[NR] = $1 } END { printf "median of %d runs: %.3f s\n", NR, t[int((NR + 1) / 2)] }'
