#!/bin/sh
# Builds the fuzz targets with clang into build-fuzz and runs each for
# SECONDS (default 60), JOBS at a time (default 2): ./scripts/fuzz.sh [SECONDS [JOBS [TARGET...]]]
# Inputs that reach new code collect in build-fuzz/corpus/<target>, findings
# in build-fuzz/findings; the runs of every target are printed at the end.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${NETGLOBE_FUZZ_DIR:-$root/build-fuzz}
seconds=${1:-60}
jobs=${2:-2}
[ $# -gt 2 ] && shift 2 || set --
targets=${*:-$(sed -n 's/^set(NETGLOBE_FUZZ_TARGETS \(.*\))$/\1/p' "$root/tests/fuzz/CMakeLists.txt")}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DNETGLOBE_BUILD_FUZZ=ON \
  -DNETGLOBE_BUILD_TESTS=OFF -DNETGLOBE_BUILD_BENCH=OFF >/dev/null
set --
for t in $targets; do set -- "$@" "${t}_fuzz"; done
cmake --build "$build" -j "$jobs" --target "$@"

mkdir -p "$build/findings" "$build/logs"
for t in $targets; do
  mkdir -p "$build/corpus/$t"
  echo "$t"
done | xargs -P "$jobs" -I{} sh -c '
  "$0/bin/{}_fuzz" "$0/corpus/{}" "$1/tests/fuzz/corpus/{}" -max_total_time="$2" -max_len=4096 \
    -timeout=10 -print_final_stats=1 -artifact_prefix="$0/findings/{}-" >"$0/logs/{}.log" 2>&1 ||
    echo "{}: FINDING, see $0/logs/{}.log"' "$build" "$root" "$seconds"

total=0
for t in $targets; do
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$build/logs/$t.log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$build/logs/$t.log")
  printf '%-12s %10s runs %7s/s\n' "$t" "${runs:-?}" "${rate:-?}"
  total=$((total + ${runs:-0}))
done
echo "total $total runs"
