#!/bin/sh
# Without a display the program says so in one line and ends with status 1,
# instead of aborting inside the window system's plugin.
. "$(dirname "$0")/lib.sh"

for display in "" ":4077"; do
  status=0
  DISPLAY="$display" "$BIN/netglobe" --folder "$WORK" --server 127.0.0.1:1 2>"$WORK/err" || status=$?
  [ "$status" -eq 1 ] || fail "DISPLAY='$display': exit status $status, not 1: $(cat "$WORK/err")"
  [ "$(wc -l < "$WORK/err")" -eq 1 ] || fail "DISPLAY='$display': not one line: $(cat "$WORK/err")"
  grep -q "^netglobe: .*display" "$WORK/err" || fail "DISPLAY='$display': $(cat "$WORK/err")"
done
echo "ok"
