#!/bin/sh
# Every mouse move runs a picking pass over all layers of a busy network:
# sweeping the cursor over the window must name the clients it passes over,
# as the status file has them, and never crash.
. "$(dirname "$0")/lib.sh"

cp "$BIN"/*.dat "$WORK"/
start_netsim --seed 11 --clients 3000
# No refresh during the sweep: every name is looked up in the copy on screen.
"$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$SIM_PORT" --refresh 3600 2>"$WORK/err" &
P=$!
PIDS="$PIDS $P"
wait_for 60 title_has " CTR=" || fail "no counts in the title: $(cat "$WORK/err")"
tr -d '\r' < "$WORK/whazzup.txt" > "$WORK/status"
# The layers are built and hovering answers once the summary box has been
# filled: until then it is empty and nothing can be copied from it.
tries=0
until xdotool mousemove 400 400 && pick_summary 2 >/dev/null; do
  tries=$((tries + 1))
  [ "$tries" -lt 30 ] || fail "hovering filled no summary: $(cat "$WORK/err")"
done

# A summary names a client of the status file: its callsign first, then the
# person (an aircraft's shortened to 16 characters). The summary comes as
# UTF-8; the file is windows-1252.
names_client() {
  person=$(LC_ALL=C awk -F: -v c="${1%% *}" '$1 == c { print substr($3, 1, 16); exit }' "$WORK/status")
  [ -n "$person" ] || return 1
  summary=$(printf '%s' "$1" | iconv -f UTF-8 -t WINDOWS-1252) || return 1
  case "$summary" in
    *"$person"*) return 0 ;;
  esac
  return 1
}

names=""
for y in 150 300 450 600 750; do
  for x in 100 250 400 550 700 850; do
    xdotool mousemove "$x" "$y"
    xdotool mousemove $((x + 7)) $((y + 5))
    summary=$(pick_summary) || fail "could not copy the pick summary at $x,$y"
    # Blank while nothing has been named yet.
    [ -n "$(printf '%s' "$summary" | tr -d ' ')" ] || continue
    names_client "$summary" || fail "at $x,$y the summary \"$summary\" names no client of the file"
    names="$names
${summary%% *}"
  done
done
distinct=$(printf '%s\n' "$names" | sed '/^$/d' | sort -u | wc -l)
echo "named $distinct clients:" $(printf '%s\n' "$names" | sed '/^$/d' | sort -u)
[ "$distinct" -ge 5 ] || fail "the sweep named $distinct clients, expected at least 5"

# Drag with the left button to turn the globe while picking.
xdotool mousemove 400 400 mousedown 1 mousemove 500 450 mouseup 1
sleep 1
alive "$P" || fail "netglobe ended during the sweep: $(cat "$WORK/err")"
kill -TERM "$P"
status=0
wait "$P" 2>/dev/null || status=$?
[ "$status" -eq 0 ] || fail "exit status $status"
echo "ok"
