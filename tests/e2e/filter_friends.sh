#!/bin/sh
# The globe filter and friends coming online, through real keys and a real
# session bus. First run: "to:" an aerodrome keeps exactly the aircraft bound
# there (the title counts as many as netsim's file holds, and flying to each
# one the field lists finds it drawn); no notification service answers, which
# is said once. Second run, under a bus of its own with a small notification
# service: the filter is still on, and a friend who logs on between two
# refreshes is named in the status line and handed to the service.
. "$(dirname "$0")/lib.sh"

cp "$BIN"/*.dat "$WORK"/
T=1765100000
start_netsim --seed 5 --clients 300 --time "$T"
"$BIN/netsim" --once --seed 5 --clients 300 --time "$T" | tr -d '\r' > "$WORK/status"

# The destination most aircraft are bound to, among those with two to eight.
dest=$(awk -F: 'NR > 7 && $4 == "PILOT" && $14 != "" { print $14 }' "$WORK/status" | sort | uniq -c |
       sort -k1,1nr -k2 | awk '$1 >= 2 && $1 <= 8 { print $2; exit }')
[ -n "$dest" ] || fail "no destination with two to eight aircraft in netsim's file"
bound=$(awk -F: -v d="$dest" 'NR > 7 && /^!/ { exit } NR > 7 && index($14, d) == 1 { print $1 }' "$WORK/status")
count=$(printf '%s\n' "$bound" | wc -l)
echo "to:$dest: $count aircraft:" $bound

# A bus address where no bus is: no notification service can answer.
DBUS_SESSION_BUS_ADDRESS="unix:path=$WORK/no-bus" "$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$SIM_PORT" \
  --refresh 3600 2>"$WORK/err" &
P=$!
PIDS="$PIDS $P"
wait_for 60 title_has " CTR=" || fail "no counts in the title: $(cat "$WORK/err")"
id=$(xdotool search --onlyvisible --pid "$P" | head -1)
xdotool windowfocus --sync "$id"
xdotool key ctrl+f
sleep 0.5
xdotool type --delay 50 "to:$dest"
xdotool key ctrl+Return
wait_for 30 title_has " FILTER \"to:$dest\" " || fail "no filter in the title: $(netglobe_title)"
title=$(netglobe_title)
shown=$(printf '%s' "$title" | sed -n 's/.* FILTER "[^"]*" \([0-9]*\)\/\([0-9]*\)$/\1/p')
clients=$(printf '%s' "$title" | sed -n 's/.* FILTER "[^"]*" \([0-9]*\)\/\([0-9]*\)$/\2/p')
[ "$shown" = "$count" ] || fail "the title shows $shown of $count aircraft bound to $dest: $title"
case "$title" in
  *" CLI=$clients "*) ;;
  *) fail "the filter counts $clients clients, the title's counts differ: $title" ;;
esac

# The summary once the view has flown to another client than the one
# before: it follows a pilot.
arrived() {
  summary=$(pick_summary 3) || return 1
  [ "${summary%% *}" != "$previous" ] || return 1
  case "$summary" in *"(followed)"|*"not drawn"*) return 0 ;; esac
  return 1
}

# The field, opened again, lists what the globe draws; each row flown to is
# named by the pick summary as drawn, never "not drawn".
row=0
previous=""
visited=""
while [ "$row" -lt "$count" ]; do
  xdotool key ctrl+f
  sleep 0.5
  xdotool mousemove 260 $((26 + 16 * row + 8)) click 1
  wait_for 30 arrived || fail "row $row: no flight ended: $summary"
  callsign=${summary%% *}
  printf '%s\n' "$bound" | grep -qx -- "$callsign" || fail "row $row flew to '$summary', not bound to $dest"
  case "$summary" in
    *"not drawn"*) fail "$callsign is bound to $dest but not drawn: $summary" ;;
  esac
  echo "row $row: $summary"
  previous=$callsign
  visited="$visited $callsign"
  row=$((row + 1))
done
[ "$(printf '%s\n' $visited | sort -u)" = "$(printf '%s\n' $bound | sort -u)" ] ||
  fail "the field listed$visited, not every aircraft bound to $dest"
kill -TERM "$P"
wait "$P" 2>/dev/null || true
said=$(grep -c "no desktop notifications" "$WORK/err" || true)
[ "$said" -le 1 ] || fail "the missing notification service was said $said times"

# Second run. A member who is offline at the first request and online at the
# second becomes the only friend.
kill "$SIM_PID"
STEP=900
start_netsim --seed 5 --clients 300 --time "$T" --time-step "$STEP"
"$BIN/netsim" --once --seed 5 --clients 300 --time $((T + STEP)) | tr -d '\r' > "$WORK/status2"
awk -F: 'NR > 7 && !/^!/ && $2 != "" { print $2 }' "$WORK/status" | sort -u > "$WORK/ids1"
friend=$(awk -F: 'NR > 7 && /^!/ { exit } NR > 7 && $4 == "PILOT" && $2 != "" { print $2 }' "$WORK/status2" |
         sort -u | comm -13 "$WORK/ids1" - | head -1)
[ -n "$friend" ] || fail "nobody logs on between the two snapshots"
who=$(awk -F: -v id="$friend" 'NR > 7 && $2 == id { print $1 " (" $3 ")"; exit }' "$WORK/status2" |
      iconv -f WINDOWS-1252 -t UTF-8)
printf '%s\n' "$friend" > "$WORK/friends.txt"
echo "friend: $who"

PY=python3
[ -x /usr/bin/python3 ] && PY=/usr/bin/python3
cat > "$WORK/second.sh" <<EOS
"$PY" "$(dirname "$0")/fake_notifications.py" "$WORK/notified" &
echo \$! > "$WORK/service.pid"
while ! grep -q READY "$WORK/notified" 2>/dev/null; do sleep 0.1; done
echo \$\$ > "$WORK/netglobe.pid"
exec "$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$SIM_PORT" --refresh 2
EOS
# The bus ends its daemon when netglobe ends, and holds none of the test's
# output open meanwhile.
dbus-run-session -- sh "$WORK/second.sh" </dev/null >"$WORK/out2" 2>"$WORK/err2" &
BUS=$!
wait_for 30 test -s "$WORK/netglobe.pid" || fail "the bus or the service did not start: $(cat "$WORK/err2")"
NG=$(cat "$WORK/netglobe.pid")
PIDS="$PIDS $NG $(cat "$WORK/service.pid")"
wait_for 60 title_has " FILTER \"to:$dest\" " || fail "the filter did not last the restart: $(netglobe_title) $(cat "$WORK/err2")"
wait_for 60 grep -qF "$who is online" "$WORK/notified" ||
  fail "no notification naming $who: $(cat "$WORK/notified") $(cat "$WORK/err2")"
grep -q "no friends online\|friends online:" "$WORK/notified" &&
  fail "the first refresh notified about friends it found offline: $(cat "$WORK/notified")"
# The status line, read as a user copies it.
printf '%s' "$CLIPBOARD_MARKER" | xclip -selection clipboard -i
xdotool mousemove 100 73 click 1 key ctrl+a ctrl+c
wait_for 10 not clipboard_is "$CLIPBOARD_MARKER" || fail "the status line could not be copied"
line=$(xclip -selection clipboard -o)
case "$line" in
  *"$who is online"*) echo "status line: $line" ;;
  *) fail "the status line says '$line', not that $who is online" ;;
esac
grep -q "no desktop notifications" "$WORK/err2" && fail "the service answered, yet: $(cat "$WORK/err2")"
kill -TERM "$NG"
wait "$BUS" 2>/dev/null || true
echo "ok"
