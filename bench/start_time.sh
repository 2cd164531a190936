#!/bin/sh
# Start to the first title with counts: netglobe against netsim on a display
# of its own, a fresh folder each run; prints each run and the median.
# Usage: tests/with-display.sh bench/start_time.sh BIN_FOLDER [CLIENTS] [RUNS]
set -eu

BIN=$1
CLIENTS=${2:-600}
RUNS=${3:-5}
WORK=$(mktemp -d)
SIM=""
APP=""
trap 'kill -9 $SIM $APP 2>/dev/null || true; rm -rf "$WORK"' EXIT

: > "$WORK/netsim.out"
"$BIN/netsim" --port 0 --seed 5 --clients "$CLIENTS" > "$WORK/netsim.out" &
SIM=$!
i=0
until PORT=$(sed -n 's/^netsim listening on 127.0.0.1:\([0-9]*\)$/\1/p' "$WORK/netsim.out") && [ -n "$PORT" ]; do
  i=$((i + 1)); [ "$i" -lt 200 ] || { echo "netsim did not start" >&2; exit 1; }
  sleep 0.05
done

# Polls the window title the way a user sees it, from outside the process.
counted() {
  xwininfo -root -tree | grep -q '": ("netglobe" "NetGlobe")' || return 1
  xwininfo -root -tree | sed -n 's/^ *0x[0-9a-f]* "\(.*\)": ("netglobe" "NetGlobe").*/\1/p' | grep -qF " CTR="
}

run=1
: > "$WORK/times"
while [ "$run" -le "$RUNS" ]; do
  folder="$WORK/run$run"
  mkdir -p "$folder"
  cp "$BIN"/*.dat "$BIN"/*.jpg "$folder"/
  start=$(date +%s.%N)
  "$BIN/netglobe" --folder "$folder" --server "127.0.0.1:$PORT" 2>"$folder/err" &
  APP=$!
  polls=0
  until counted; do
    polls=$((polls + 1))
    [ "$polls" -lt 6000 ] || { echo "no counts: $(cat "$folder/err")" >&2; exit 1; }
    sleep 0.005
  done
  end=$(date +%s.%N)
  kill -TERM "$APP"; wait "$APP" 2>/dev/null || true
  APP=""
  echo "$end - $start" | bc -l | tee -a "$WORK/times" | sed "s/^/run $run: /;s/\$/ s/"
  run=$((run + 1))
done
sort -n "$WORK/times" | awk '{ t[NR] = $1 } END { printf "median of %d runs: %.3f s\n", NR, t[int((NR + 1) / 2)] }'
