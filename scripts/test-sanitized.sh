#!/bin/sh
# Builds NetGlobe with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-sanitize/ (or $NETGLOBE_BUILD_DIR) and runs every test there, as
# scripts/test.sh does. Any memory error or undefined behaviour fails the
# test it happens in, and so does a leak, except in the processes that load
# the GL driver (the window, GL and end-to-end tests), whose leak check is
# off: the driver is unloaded before the check and its leaks cannot be told
# from ours (tests/CMakeLists.txt).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${NETGLOBE_BUILD_DIR:-$root/build-sanitize}
cmake -S "$root" -B "$build" -DNETGLOBE_SANITIZE=ON -DNETGLOBE_BUILD_BENCH=OFF >/dev/null
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
NETGLOBE_BUILD_DIR=$build exec "$root/scripts/test.sh" "$@"
