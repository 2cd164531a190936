#!/bin/sh
# Runs a command under an X server of its own: Xvfb picks a free display
# itself and reports it through -displayfd, so tests started side by side
# never share or fight over a display. The server ends with the command.
# Usage: with-display.sh COMMAND [ARGS...]
set -eu

fifo_dir=$(mktemp -d)
trap 'rm -rf "$fifo_dir"' EXIT
mkfifo "$fifo_dir/display"

# No listening on TCP, no access control: the server is reachable only over
# its local socket, for the duration of one test. No reset either: by
# default the server resets whenever its last client leaves, and a program
# started next (a test's second run) cannot connect during that reset.
Xvfb -displayfd 3 -screen 0 1400x1000x24 -nolisten tcp -ac -noreset 3>"$fifo_dir/display" 2>"$fifo_dir/xvfb.log" &
xvfb=$!

number=""
read -r number < "$fifo_dir/display" || true
if [ -z "$number" ]; then
  echo "with-display: Xvfb did not start:" >&2
  cat "$fifo_dir/xvfb.log" >&2 || true
  exit 1
fi

status=0
DISPLAY=":$number" "$@" || status=$?
kill "$xvfb" 2>/dev/null || true
wait "$xvfb" 2>/dev/null || true
exit "$status"
