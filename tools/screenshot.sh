#!/bin/sh
# Takes the README screenshot: starts the built program on its demo network
# under a virtual X server, waits until the start zoom has ended and the
# pilot labels are in their final mode, shows the side lists (Backspace) and
# grabs the window with the lists beside it.
# Usage: tools/screenshot.sh [BUILD_DIR] [OUTPUT.png]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$root/docs/screenshot.png}
exec xvfb-run -a -s "-screen 0 1300x1000x24" sh -c '
  folder=$(mktemp -d)
  cp "$1"/bin/*.dat "$1"/bin/*.jpg "$folder"/
  "$1/bin/netglobe" --folder "$folder" & pid=$!
  i=0
  until xwininfo -root -tree | grep -q "\" CTR=.*(\"netglobe\""; do
    i=$((i + 1)); [ $i -gt 600 ] && { kill $pid; exit 1; }
    sleep 0.05
  done
  sleep 8  # the traffic layers, the start zoom, the labels
  xdotool key BackSpace
  sleep 1
  xwd -root | convert xwd:- -crop 1010x932+0+0 +repage "$2"
  kill $pid; wait $pid 2>/dev/null || true
  rm -rf "$folder"
' sh "$build" "$out"
