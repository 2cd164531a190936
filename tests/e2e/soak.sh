#!/bin/sh
# A long run under every fault at once. NetGlobe refreshes every second from
# a netsim of 3000 places that answers with error statuses, waits past the
# request time-out, cuts answers off, drops connections, sends pages and
# empty bodies instead of the status file, and writes malformed client lines
# in the layout with the client marker on line 8. After each refresh, from
# the outside: the title says "update failed" exactly when that refresh's
# request failed, whazzup.txt is a whole copy of a good answer, topconn.txt
# never goes down; and the resident memory does not grow over the run.
#
# SOAK_REFRESHES sets the number of refreshes (default 120, at least 60);
# about one second each, plus 20 s for each answer held past the time-out.
. "$(dirname "$0")/lib.sh"

REFRESHES=${SOAK_REFRESHES:-120}
[ "$REFRESHES" -ge 60 ] || fail "SOAK_REFRESHES must be at least 60, is $REFRESHES"
started=$(date +%s)

# The reference data beside the program, so every reader and layer takes part.
cp "$BIN"/*.dat "$BIN"/velmar.jpg "$WORK"/

# Seed 5 meets every kind of answer, and two waits past the time-out, in
# the first 120 requests; netsim draws the faults from the seed and the
# request's number, so every run meets the same series.
LOG="$WORK/answers.log"
start_netsim --seed 5 --clients 3000 --marker-line8 --bad-lines 0.005 --delay 100 \
  --fail-share 0.08 --fail-status 503 --cut-share 0.06 --drop-share 0.06 --page-share 0.05 \
  --slow-share 0.02 --slow-ms 25000 --log "$LOG"

# netsim is held until the title is watched, so the first refresh is seen:
# its request waits in the listening queue meanwhile.
kill -STOP "$SIM_PID"
# With its rasterizer threads the software renderer holds several hundred
# megabytes more, growing over the first hundred refreshes before it levels
# off; that would hide the program's own memory. Rasterizing in the calling
# thread keeps the figures to the program's own.
# History kept for 36 s: the store reaches its bound within the run and must
# stay within it from then on.
LP_NUM_THREADS=0 "$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$SIM_PORT" --refresh 1 \
  --history 0.01 2>"$WORK/err" &
P=$!
PIDS="$PIDS $P"
# Ended, or ended and not yet waited for (kill -0 still reaches a zombie).
ended() { s=$(cut -d' ' -f3 "/proc/$P/stat" 2>/dev/null) || return 0; [ "$s" = Z ]; }

loading_window() {
  WIN=$(xwininfo -root -tree |
        sed -n 's/^ *\(0x[0-9a-f]*\) "Loading...": ("netglobe" "NetGlobe").*/\1/p' | head -1)
  [ -n "$WIN" ]
}
wait_for 120 loading_window || fail "no window waiting for its first refresh: $(cat "$WORK/err")"

# Every change of the title, in order: "Loading..." when a refresh starts,
# its outcome when it ends. Line 1 is the first refresh's "Loading...", so
# line 2k is the end of refresh k (request k-1). xprop reads the title when
# told of a change; should it read late, the line still stands for that
# change but shows a later title.
TITLES="$WORK/titles"
xprop -id "$WIN" -spy _NET_WM_NAME > "$TITLES" &
PIDS="$PIDS $!"
lines() { wc -l < "$TITLES"; }
title_line() { sed -n "${1}p" "$TITLES" | sed 's/^[^"]*"//; s/"$//'; }
has_title() { [ "$(lines)" -ge 1 ]; }
wait_for 30 has_title || fail "xprop shows no title"
[ "$(title_line 1)" = "Loading..." ] || fail "first title is not Loading...: $(cat "$TITLES")"
kill -CONT "$SIM_PID"

counts_of() { echo "$1" | sed 's/ (update failed: .*//'; }
field_of() { echo "$1" | sed -n "s/.* $2=\([0-9]*\).*/\1/p"; }

# The stored copy, read once (it is replaced by renaming): "UPDATE CLIENTS"
# of a whole status file in the form the program stores, else why not.
check_copy() {
  if ! cp "$WORK/whazzup.txt" "$WORK/copy" 2>"$WORK/cp.err"; then
    # Absent, or there and unreadable: a failure all the same, told apart.
    [ -e "$WORK/whazzup.txt" ] && echo "unreadable: $(cat "$WORK/cp.err")" || echo "missing"
    return
  fi
  [ "$(tail -c 4 "$WORK/copy" | od -An -c | tr -d ' ')" = '\r\n\r\n' ] ||
    { echo "does not end in CR LF and an empty line"; return; }
  awk '
    !/\r$/ { bad = "line " NR " does not end in CR LF"; exit }
    { sub(/\r$/, "") }
    NR == 1 && $0 != "!GENERAL" { bad = "first line is not !GENERAL"; exit }
    $0 == "!CLIENTS" || $0 == "!SERVERS" { part = $0; next }
    part == "" && /^UPDATE = / { update = substr($0, 10) }
    part == "" && /^CONNECTED CLIENTS = / { declared = substr($0, 21) }
    part == "!CLIENTS" { clients++ }
    part == "!SERVERS" && $0 == "" { blank++; next }
    part == "!SERVERS" && (blank || $0 !~ /:1:$/) { bad = "no server line: line " NR; exit }
    part == "!SERVERS" { servers++ }
    END {
      if (bad == "" && part != "!SERVERS") bad = "no server section at the end"
      if (bad == "" && (servers < 1 || blank != 1)) bad = "server section not closed by one empty line"
      if (bad == "" && declared + 0 != clients + 0)
        bad = "CONNECTED CLIENTS = " declared " but " clients + 0 " client lines"
      if (bad == "" && update == "") bad = "no UPDATE line"
      print (bad == "" ? update " " declared : bad)
    }' "$WORK/copy"
}

rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$P/status"; }

k=0; unseen=0; previous=""; topbefore=""; topfile=0; lastgood=""
: > "$WORK/rss"
while [ "$k" -lt "$REFRESHES" ]; do
  k=$((k + 1))
  # Waits for the next refresh's "Loading..." too: it shows that xprop read
  # this outcome before the title changed again.
  have_refresh() { [ "$(lines)" -ge $((2 * k + 1)) ] || ended; }
  wait_for 90 have_refresh || fail "refresh $k did not end within 90 s: $(tail -2 "$TITLES")"
  if ended; then fail "netglobe ended during refresh $k: $(tail -5 "$WORK/err")"; fi

  # What request k-1 met; its line is written before anything is answered.
  set -- $(awk -v n=$((k - 1)) '$1 == n' "$LOG")
  [ "$#" -eq 6 ] || fail "no answer logged for request $((k - 1))"
  kind=$2; waited=$3
  if [ "$waited" -ge 20000 ]; then reason="timed out"
  else
    case $kind in
      ok) reason="" ;;
      cut) reason="answer cut off" ;;
      fail) reason="HTTP 503" ;;
      drop) reason="no answer" ;;
      page|empty) reason="not a status file" ;;
      *) fail "unknown answer kind: $*" ;;
    esac
  fi
  [ -z "$reason" ] && lastgood=$4

  title=$(title_line $((2 * k)))
  if [ "$title" = "Loading..." ] || [ "$(title_line $((2 * k + 1)))" != "Loading..." ]; then
    # Read after the title had changed again: this outcome went unseen.
    unseen=$((unseen + 1)); previous=""; topbefore=""
  else
    echo "$title" | grep -Eq '^ CTR=[0-9]+ APP=[0-9]+ TWR=[0-9]+ PIL=[0-9]+ CLI=[0-9]+ TOP=[0-9]+( \(update failed: .*\))?$' ||
      fail "refresh $k: no counts in the title: $title"
    if [ -z "$reason" ]; then
      case $title in *"(update failed"*) fail "refresh $k: request $* answered well, title: $title" ;; esac
      cli=$(field_of "$title" CLI)
      # Malformed lines may be skipped, but the line-8 layout must not empty the network.
      [ "$cli" -le "$5" ] && [ "$cli" -ge $(($5 * 9 / 10)) ] ||
        fail "refresh $k: CLI=$cli of $5 clients in the answer"
    else
      case $title in *" (update failed: $reason)") ;;
        *) fail "refresh $k: request $* should fail with \"$reason\", title: $title" ;; esac
      # The kept copy is read again: the same counts as before.
      [ -z "$previous" ] || [ "$(counts_of "$title")" = "$(counts_of "$previous")" ] ||
        fail "refresh $k: counts changed on a failed update: $previous -> $title"
    fi
    top=$(field_of "$title" TOP)
    [ "$top" -ge "$(field_of "$title" CLI)" ] || fail "refresh $k: peak below the count: $title"
    topbefore=$(field_of "$previous" TOP)
    [ -z "$topbefore" ] || [ "$top" -ge "$topbefore" ] ||
      fail "refresh $k: peak went down: $previous -> $title"
    previous=$title
  fi

  # The copy: absent before the first good answer, then always a whole
  # good answer, never older than the last good one the title reported.
  copy=$(check_copy)
  if [ "$copy" != "missing" ] || [ -n "$lastgood" ]; then
    set -- $copy
    [ "$#" -eq 2 ] || fail "refresh $k: whazzup.txt $copy"
    awk -v u="$1" -v c="$2" '$2 == "ok" && $3 < 20000 && $4 == u && $5 == c { f = 1 } END { exit !f }' "$LOG" ||
      fail "refresh $k: copy of $copy is no good answer"
    [ -z "$lastgood" ] || [ "$1" -ge "$lastgood" ] ||
      fail "refresh $k: copy of $1 older than the good answer of $lastgood"
  fi

  # The peak file: written through a rename, so always whole; never lower,
  # and holding the previous refresh's peak (this one's may be on its way).
  if [ -e "$WORK/topconn.txt" ]; then
    now=$(head -1 "$WORK/topconn.txt" | tr -d '\r ')
    [ "$now" -ge "$topfile" ] 2>/dev/null || fail "refresh $k: topconn.txt went from $topfile to '$now'"
    [ -z "$topbefore" ] || [ "$now" -ge "$topbefore" ] ||
      fail "refresh $k: topconn.txt holds $now, the previous refresh's peak was $topbefore"
    topfile=$now
  fi

  echo "$k $(rss_kb)" >> "$WORK/rss"
  store=$(du -sk "$WORK/history" 2>/dev/null | cut -f1)
  echo "$k ${store:-0}" >> "$WORK/store"
  # A hard cap: 36 s of refreshes, 40 more for segments not yet wholly past
  # the retention, each no larger than a whole answer (700 kB).
  [ "${store:-0}" -le $(((36 + 40) * 700)) ] || fail "refresh $k: the history store holds $store kB"
  # Segments are dropped once every refresh in them is past the 36 s: each
  # but the oldest began within the retention and a refresh (at most 30 s
  # with a held answer) of now. Segment names begin with that receipt in ms.
  if [ "$k" -ge 40 ]; then
    nowms=$(date +%s%3N)
    for seg in $(ls "$WORK/history" | grep '\.hist$' | sort -n | sed 1d); do
      [ "${seg%%-*}" -ge $((nowms - 66000)) ] ||
        fail "refresh $k: segment $seg is past the retention but kept"
    done
  fi
  [ $((k % 20)) -ne 0 ] || echo "refresh $k: $title, $(rss_kb) kB"
done
[ "$unseen" -le $((REFRESHES / 20)) ] || fail "$unseen of $REFRESHES outcomes unseen in the title"

# Every kind of answer was met, some past the time-out.
met=$(awk -v n="$REFRESHES" '$1 < n { print ($3 >= 20000 ? "timeout" : $2) }' "$LOG" | sort | uniq -c |
      awk '{ printf "%s%s=%s", sep, $2, $1; sep = " " }')
for kind in ok cut fail drop page empty timeout; do
  case " $met" in *" $kind="*) ;; *) fail "no '$kind' answer in the run: $met" ;; esac
done

# Resident memory: the median of the last 20 refreshes against that of
# refreshes 20 to 40, after the start has settled.
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : int((v[NR / 2] + v[NR / 2 + 1]) / 2)) }'; }
early=$(awk '$1 >= 20 && $1 <= 40 { print $2 }' "$WORK/rss" | median)
late=$(awk -v n="$REFRESHES" '$1 > n - 20 { print $2 }' "$WORK/rss" | median)
[ $((late * 10)) -le $((early * 11)) ] ||
  fail "resident memory grew: median $early kB over refreshes 20-40, $late kB over the last 20"

# The history store's size, for the record (it swings as whole segments go).
store_early=$(awk '$1 >= 50 && $1 <= 70 { print $2 }' "$WORK/store" | median)
store_late=$(awk -v n="$REFRESHES" '$1 > n - 20 { print $2 }' "$WORK/store" | median)
[ "$store_early" -gt 0 ] || fail "no history kept"

# A normal end on SIGTERM, with the peak kept.
kill -TERM "$P"
(sleep 60; kill -KILL "$P") >/dev/null 2>&1 &
watchdog=$!
status=0
wait "$P" || status=$?
kill "$watchdog" 2>/dev/null || true
[ "$status" -eq 0 ] ||
  fail "netglobe ended with status $status on SIGTERM (137: not within 60 s): $(tail -5 "$WORK/err")"
[ "$(head -1 "$WORK/topconn.txt" | tr -d '\r ')" -ge "$topfile" ] || fail "topconn.txt went down at the end"
alive "$SIM_PID" || fail "netsim ended during the run"

echo "ok: $REFRESHES refreshes in $(( $(date +%s) - started )) s; answers: $met; unseen: $unseen;" \
     "VmRSS median $early kB over refreshes 20-40, $late kB over the last 20;" \
     "history store median $store_early kB over refreshes 50-70, $store_late kB over the last 20"
