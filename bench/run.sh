#!/bin/bash
# Runs every benchmark program of a build. Usage: bench/run.sh BUILD_FOLDER [benchmark options]
# Extra options go to every program, e.g. --benchmark_repetitions=3.
set -euo pipefail
build=${1:?build folder}
shift
status=0
found=0
for program in "$build"/bin/bench_*; do
  [ -x "$program" ] || continue
  found=1
  echo "== $(basename "$program")"
  "$program" "$@" || status=1
done
[ "$found" = 1 ] || { echo "no bench_* programs in $build/bin" >&2; exit 1; }
exit $status
