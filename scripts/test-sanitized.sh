#!/bin/sh
# Builds NetGlobe with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-sanitize/ (or $NETGLOBE_BUILD_DIR) and runs every test there, as
# scripts/test.sh does. Any memory error or undefined behaviour fails the
# test it happens in, and so does a leak, except in the processes that load
# the GL driver (the window, GL and end-to-end tests), whose leak check is
# off: the driver is unloaded before the check and its leaks cannot be told
# from ours (tests/CMakeLists.txt).
#
# With --core first, it builds and runs only the tests that need neither Qt
# nor a display (label "core": the core library's tests, netsim's, the data
# tests, the fuzz corpora), as CI does, in build-sanitize-core/. That build
# compiles at -O1 with line tables only, about three times faster than -O2
# with full debug information; the reports still name file and line, and
# assertions are on.
# Usage: test-sanitized.sh [--core] [CTEST ARGS...]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
if [ "${1:-}" = "--core" ]; then
  shift
  build=${NETGLOBE_BUILD_DIR:-$root/build-sanitize-core}
  cmake -S "$root" -B "$build" -DNETGLOBE_SANITIZE=ON -DNETGLOBE_BUILD_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" >/dev/null
  cmake --build "$build" -j "$(nproc)" --target core_checks
  cd "$build"
  exec ctest --output-on-failure -j "$(nproc)" -L core "$@"
fi
build=${NETGLOBE_BUILD_DIR:-$root/build-sanitize}
cmake -S "$root" -B "$build" -DNETGLOBE_SANITIZE=ON -DNETGLOBE_BUILD_BENCH=OFF >/dev/null
NETGLOBE_BUILD_DIR=$build exec "$root/scripts/test.sh" "$@"
