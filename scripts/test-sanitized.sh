#!/bin/sh
# Builds NetGlobe with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-sanitize/ (or $NETGLOBE_BUILD_DIR) and runs every test there, as
# scripts/test.sh does. Any memory error, leak or undefined behaviour in our
# code fails the test it happens in; leaks inside the GL driver, Qt and the X
# and font libraries are suppressed (tests/lsan-third-party.supp).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${NETGLOBE_BUILD_DIR:-$root/build-sanitize}
cmake -S "$root" -B "$build" -DNETGLOBE_SANITIZE=ON -DNETGLOBE_BUILD_BENCH=OFF >/dev/null
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/lsan-third-party.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
NETGLOBE_BUILD_DIR=$build exec "$root/scripts/test.sh" "$@"
