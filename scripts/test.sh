#!/bin/sh
# Builds NetGlobe and runs every test (the GL ones under a virtual X server).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${NETGLOBE_BUILD_DIR:-$root/build}
"$root/scripts/build.sh"
cd "$build"
ctest --output-on-failure -j "$(nproc)" "$@"
