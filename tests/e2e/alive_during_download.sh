#!/bin/sh
# The window lives while a slow server takes its time: a key typed during
# the startup's download and one typed during a refresh's download act
# before the answer is in; SIGTERM during an answer held for a minute ends
# the program within seconds, with the peak written and the copy whole.
. "$(dirname "$0")/lib.sh"

cp "$BIN"/*.dat "$BIN"/velmar.jpg "$WORK"/
# Answers come after 12 s: a key acts at once, and the test's own look at
# the screen (a screenshot, slow on a loaded machine) stays well inside.
start_netsim --seed 5 --clients 200 --delay 12000
"$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$SIM_PORT" --refresh 4 2>"$WORK/err" &
P=$!
PIDS="$PIDS $P"

# The share, in per cent, of a grid of 20 x 23 points over the globe (clear
# of the log and the corner box; without a window manager the window lies at
# the screen's origin, 986 x 932) green enough to be land of the textured
# globe. Only those points are converted: a whole screenshot as text takes
# seconds on a loaded machine, longer than a download lasts here.
# Lines, discs, glows, labels and the fills of active FIRs, which cover the
# middle once the traffic is in, reach only a few of them.
landshare() {
  xwd -root -silent | convert xwd:- -crop 800x900+150+20 +repage -sample '20x23!' -depth 8 txt:- |
    awk -F'[,:() ]+' 'NR > 1 { n++; if ($4 >= 64) land++ } END { print n ? int(100 * land / n) : 0 }'
}
plain() { [ "$(landshare)" -lt 15 ]; }
textured() { [ "$(landshare)" -gt 30 ]; }
loading() { title_has "Loading..."; }
# Ended: gone, or a zombie that this shell has not yet waited for.
ended() { ! kill -0 "$1" 2>/dev/null || grep -q '^[0-9]* (.*) Z ' "/proc/$1/stat" 2>/dev/null; }
key() {
  id=$(xdotool search --onlyvisible --pid "$P" | head -1)
  xdotool windowfocus --sync "$id" key "$1"
}

# Startup: the globe is drawn, then the download waits.
wait_for 60 loading || fail "no download at startup: $(cat "$WORK/err")"
wait_for 20 textured || fail "no textured globe before the startup's download ended"
key x
wait_for 20 plain || fail "key x did not act during the startup's download"
loading || fail "the startup's download ended before key x acted"
wait_for 40 title_has " CTR=" || fail "no counts after startup"
plain || fail "the plain globe did not last through startup"

# A refresh: the key acts while its download waits.
wait_for 40 loading || fail "no refresh download"
key y
wait_for 20 textured || fail "key y did not act during a refresh's download"
loading || fail "the refresh's download ended before key y acted"
wait_for 40 title_has " CTR=" || fail "no counts after the refresh"

# SIGTERM while an answer is held for a minute: a second run in the same
# folder against a server that holds every answer (a port of its own; a
# port once freed may already be another test's).
kill -TERM "$P"
wait "$P" 2>/dev/null || true
copy=$(cat "$WORK/whazzup.txt")
start_netsim --seed 5 --clients 200 --delay 120000
"$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$SIM_PORT" 2>"$WORK/err2" &
P=$!
PIDS="$PIDS $P"
wait_for 60 loading || fail "no download from the holding server: $(cat "$WORK/err2")"
sleep 1
rm -f "$WORK/topconn.txt"
kill -TERM "$P"
wait_for 5 ended "$P" || fail "netglobe still running 5 s after SIGTERM"
[ -s "$WORK/topconn.txt" ] || fail "no peak file written"
[ "$(cat "$WORK/whazzup.txt")" = "$copy" ] || fail "the stored copy changed"
echo "ok"
