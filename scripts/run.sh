#!/bin/sh
# Installs what NetGlobe needs, builds it and starts it; extra arguments go
# to the program (for example --server HOST:PORT).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
exec "${NETGLOBE_BUILD_DIR:-$root/build}/bin/netglobe" "$@"
