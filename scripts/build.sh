#!/bin/sh
# Configures and builds NetGlobe into build/ (or $NETGLOBE_BUILD_DIR).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${NETGLOBE_BUILD_DIR:-$root/build}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j "$(nproc)"
