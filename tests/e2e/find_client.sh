#!/bin/sh
# Finding a client through real key presses: Ctrl+F, part of a pilot's
# callsign, Return. The view flies to the pilot, centres it (the ring that
# marks it lies round the middle of the globe) and the pick summary names it.
. "$(dirname "$0")/lib.sh"

cp "$BIN"/*.dat "$BIN"/velmar.jpg "$WORK"/
start_netsim --seed 7 --clients 300 --time 1765100000
"$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$SIM_PORT" --refresh 3600 2>"$WORK/err" &
P=$!
PIDS="$PIDS $P"
wait_for 60 title_has " CTR=" || fail "no counts in the title: $(cat "$WORK/err")"

# A pilot with a position whose callsign without its last letter names no
# other client: the first match is then this pilot.
callsign=""
for c in $(tr -d '\r' < "$WORK/whazzup.txt" | awk -F: 'NR > 7 && $4 == "PILOT" && $6 ~ /^-?[0-9]/ && $7 ~ /^-?[0-9]/ && length($1) > 3 { print $1 }'); do
  part=$(printf '%s' "$c" | sed 's/.$//')
  if [ "$(tr -d '\r' < "$WORK/whazzup.txt" | awk -F: -v p="$part" 'NR > 7 && index(toupper($1), toupper(p)) > 0' | wc -l)" -eq 1 ]; then
    callsign=$c
    break
  fi
done
[ -n "$callsign" ] || fail "no pilot with a callsign of its own in the status file"
part=$(printf '%s' "$callsign" | sed 's/.$//' | tr 'A-Z' 'a-z')

# Magenta pixels of the ring within 80 pixels of the middle of the globe
# (without a window manager the window lies at the screen's origin).
ringpixels() {
  xwd -root -silent | convert xwd:- -crop 161x161+413+386 -depth 8 txt:- | grep -ci '#FF00FF'
}
ringshown() { [ "$(ringpixels)" -gt 20 ]; }

id=$(xdotool search --onlyvisible --pid "$P" | head -1)
xdotool windowfocus --sync "$id"
ringshown && fail "a ring before any search"
xdotool key ctrl+f
sleep 0.5
xdotool type --delay 50 "$part"
xdotool key Return
wait_for 30 ringshown || fail "no ring round the middle after flying to $callsign ($part)"
summary=$(pick_summary) || fail "the pick summary could not be read"
case "$summary" in
  "$callsign "*) ;;
  *) fail "the pick summary names '$summary', not $callsign" ;;
esac
echo "flew to $callsign: $summary"
echo "ok"
