#!/bin/sh
# The details panel through real input: a click on a pilot opens its flight
# with the destination's name; Esc closes the panel and leaves the side
# lists as they were; the next Esc hides the side lists.
. "$(dirname "$0")/lib.sh"

cp "$BIN"/*.dat "$BIN"/velmar.jpg "$WORK"/
start_netsim --seed 7 --clients 300 --time 1765100000
"$BIN/netglobe" --folder "$WORK" --server "127.0.0.1:$SIM_PORT" --refresh 3600 --history 0 2>"$WORK/err" &
P=$!
PIDS="$PIDS $P"
wait_for 60 title_has " CTR=" || fail "no counts in the title: $(cat "$WORK/err")"

# A moving pilot with a callsign longer than an aerodrome code, whose
# destination the airport directory names.
callsign="" destname=""
for row in $(tr -d '\r' < "$WORK/whazzup.txt" | awk -F: 'NR > 7 && $4 == "PILOT" && $9 > 100 && length($1) > 4 && $14 != "" { print $1 ":" $14 }'); do
  c=${row%%:*} dest=${row#*:}
  name=$(awk -F: -v d="$dest" '$1 == d { print $2; exit }' "$WORK/airports.dat")
  if [ -n "$name" ]; then callsign=$c destname=$name; break; fi
done
[ -n "$callsign" ] || fail "no moving pilot bound for a known aerodrome in the status file"

# Without a window manager the window lies at the screen's origin, 986 x 932.
count() { xwd -root -silent | convert xwd:- -crop "$1" -depth 8 txt:- | grep -ciE "$2" || true; }
panelpixels() { count 330x150+0+780 '#FFFF00'; }
listpixels() { count 240x930+745+0 '#FF8080|#00FFFF|#00FF00|#FFC0C0'; }
panelshown() { [ "$(panelpixels)" -gt 8000 ]; }
panelhidden() { [ "$(panelpixels)" -lt 3000 ]; }
ringshown() {
  [ "$(xwd -root -silent | convert xwd:- -crop 161x161+413+386 -depth 8 txt:- | grep -ci '#FF00FF')" -gt 20 ]
}

id=$(xdotool search --onlyvisible --pid "$P" | head -1)
xdotool windowfocus --sync "$id"
panelhidden || fail "a panel before any click"
# Backspace shows every side list; they fill one by one after the first
# answer, which on a loaded machine may come after the counts in the title.
listsshown() {
  xdotool key BackSpace
  sleep 0.3
  [ "$(count 240x930+745+0 '#FF8080|#00FF00')" -gt 500 ]
}
wait_for 60 listsshown || fail "the side lists did not show"

# Fly to the pilot (the search opens its panel too), close that panel, then
# click on the pilot, which now lies in the middle of the globe.
xdotool key ctrl+f
sleep 0.5
xdotool type --delay 50 "$callsign"
xdotool key Return
wait_for 30 ringshown || fail "no flight to $callsign"
wait_for 10 panelshown || fail "choosing $callsign in the search opened no panel"
xdotool key Escape
wait_for 10 panelhidden || fail "Esc did not close the panel"
xdotool mousemove 493 466
sleep 0.5
xdotool click 1
wait_for 10 panelshown || fail "a click on $callsign opened no panel"

# The panel's text, copied as a user copies it.
printf '%s' "$CLIPBOARD_MARKER" | xclip -selection clipboard -i
xdotool mousemove 150 924 click 1 key ctrl+a ctrl+c
wait_for 10 not clipboard_is "$CLIPBOARD_MARKER" || fail "the panel's text could not be copied"
text=$(xclip -selection clipboard -o)
case "$text" in
  "$callsign "*) ;;
  *) fail "the panel does not begin with $callsign: $text" ;;
esac
printf '%s' "$text" | grep -qF -- "$destname" || fail "the panel does not name $destname: $text"

# Esc closes the panel, and only that.
lists=$(listpixels)
xdotool key Escape
wait_for 10 panelhidden || fail "Esc did not close the panel"
sleep 0.5
[ "$(listpixels)" -eq "$lists" ] || fail "the side lists changed with the panel's Esc ($lists, now $(listpixels))"
xdotool key Escape
wait_for 10 sh -c "[ \$(xwd -root -silent | convert xwd:- -crop 240x930+745+0 -depth 8 txt:- | grep -ciE '#FF8080|#00FF00') -lt 50 ]" ||
  fail "the second Esc did not hide the side lists"
echo "panel of $callsign names $destname"
echo "ok"
