#!/bin/sh
# A network that publishes one of the JSON layouts (a or b, the first
# argument), fetched by --url from a path that says nothing of its format,
# against a network that moves two minutes a request: the stored copy is the
# text layout; a step of replay shows an earlier JSON document with the
# counts netsim's own text of that moment gives; a search flies to a
# JSON-sourced pilot and the pick names it.
. "$(dirname "$0")/lib.sh"
LAYOUT=${1:?layout a or b}

cp "$BIN"/*.dat "$BIN"/velmar.jpg "$WORK"/
NET="--seed 5 --clients 200"
# shellcheck disable=SC2086
start_netsim $NET --layout "$LAYOUT" --time 1765100000 --time-step 120 --path /api/v3/data --log "$WORK/answers"
"$BIN/netglobe" --folder "$WORK" --url "http://127.0.0.1:$SIM_PORT/api/v3/data" --refresh 2 2>"$WORK/err" &
P=$!
PIDS="$PIDS $P"
wait_for 60 title_has " CTR=" || fail "no counts in the title: $(netglobe_title) $(cat "$WORK/err")"
wait_for 60 sh -c "[ \$(awk '\$2 == \"ok\"' '$WORK/answers' | wc -l) -ge 4 ]" || fail "fewer than four answers"
kill -STOP "$SIM_PID"
sleep 3  # the last answer is stored and kept

# The copy is the text layout, its UPDATE the time of the newest document.
head -c 10 "$WORK/whazzup.txt" | grep -q '^!GENERAL' || fail "the copy is not the text layout: $(head -c 80 "$WORK/whazzup.txt")"
[ "$(tr -d '\r' < "$WORK/whazzup.txt" | sed -n 7p)" = "!CLIENTS" ] || fail "no client marker on line 7"
newest=$(tr -d '\r' < "$WORK/whazzup.txt" | sed -n 's/^UPDATE = //p')
kept=$(awk '$2 == "ok" { print $4 }' "$WORK/answers")
at=$(printf '%s\n' "$kept" | grep -nx "$newest" | cut -d: -f1)
[ -n "$at" ] && [ "$at" -ge 3 ] || fail "the copy ($newest) is not among three answers: $kept"
U0=$(printf '%s\n' "$kept" | sed -n "$((at - 2))p")

# netsim's own counts of the network at U0, from its text layout: stations
# by their callsign suffix, every pilot, every client.
epoch=$(date -u -d "$(echo "$U0" | sed 's/\(....\)\(..\)\(..\)\(..\)\(..\)\(..\)/\1-\2-\3 \4:\5:\6/')" +%s)
# shellcheck disable=SC2086
"$BIN/netsim" --once $NET --time "$epoch" > "$WORK/own.txt"
count() { awk -F: -v re="$1" 'NR > 7 && !/^!/ && $4 == "ATC" && $1 ~ re' "$WORK/own.txt" | wc -l; }
ctr=$(count '_(CTR|FSS)$'); app=$(count '_(APP|DEP)$'); twr=$(count '_(TWR|GND)$')
pil=$(awk -F: 'NR > 7 && $4 == "PILOT"' "$WORK/own.txt" | wc -l)
cli=$(awk 'NR > 7 && !/^!/ { n++ } /^!SERVERS/ { exit } END { print n }' "$WORK/own.txt")

id=$(xdotool search --onlyvisible --pid "$P" | head -1)
key() { xdotool windowfocus --sync "$id" key "$@"; }
key comma
wait_for 10 title_has "REPLAY " || fail "no replay after ,: $(netglobe_title)"
key comma
wait_for 10 title_has "REPLAY $U0 " || fail "not two refreshes back ($U0): $(netglobe_title)"
title_has "REPLAY $U0 CTR=$ctr APP=$app TWR=$twr PIL=" || fail "stations differ from netsim's $ctr/$app/$twr: $(netglobe_title)"
title_has " CLI=$cli " || fail "clients differ from netsim's $cli: $(netglobe_title)"
title_has " PIL=$pil " || fail "pilots differ from netsim's $pil: $(netglobe_title)"
key l
wait_for 10 sh -c '! xwininfo -root -tree | grep -q "\"REPLAY "' || fail "l did not go live: $(netglobe_title)"

# A pilot of the copy whose callsign without its last letter names no other
# client: a search for that finds it first.
copy() { tr -d '\r' < "$WORK/whazzup.txt"; }
callsign=""
for c in $(copy | awk -F: 'NR > 7 && $4 == "PILOT" && $6 ~ /^-?[0-9]/ && length($1) > 3 { print $1 }'); do
  part=$(printf '%s' "$c" | sed 's/.$//')
  if [ "$(copy | awk -F: -v p="$part" 'NR > 7 && index(toupper($1), toupper(p)) > 0' | wc -l)" -eq 1 ]; then
    callsign=$c
    break
  fi
done
[ -n "$callsign" ] || fail "no pilot with a callsign of its own in the copy"
part=$(printf '%s' "$callsign" | sed 's/.$//' | tr 'A-Z' 'a-z')
ringpixels() {
  xwd -root -silent | convert xwd:- -crop 161x161+413+386 -depth 8 txt:- | grep -ci '#FF00FF'
}
ringshown() { [ "$(ringpixels)" -gt 20 ]; }
key ctrl+f
sleep 0.5
xdotool type --delay 50 "$part"
key Return
wait_for 30 ringshown || fail "no ring round the middle after flying to $callsign ($part)"
summary=$(pick_summary) || fail "the pick summary could not be read"
case "$summary" in
  "$callsign "*) ;;
  *) fail "the pick summary names '$summary', not $callsign" ;;
esac
echo "layout $LAYOUT: replayed $U0 with CTR=$ctr APP=$app TWR=$twr CLI=$cli, flew to $summary"
echo "ok"
