#!/bin/bash
# Runs fuzz targets of a fuzz build for a while, seeded from their corpus and regression folders
# (fuzz/<module>/corpus/<target>/, fuzz/<module>/regressions/<target>/), with the dictionary
# fuzz/<module>/<target>.dict and the libFuzzer flags of fuzz/<module>/<target>.options (one
# line) when they exist. Usage: fuzz/run.sh BUILD_FOLDER [SECONDS_EACH [TARGET...]]; without
# targets every fuzz_* program of the build runs.
set -euo pipefail
build=${1:?build folder}
seconds=${2:-30}
root=$(cd "$(dirname "$0")" && pwd)
shift $(($# < 2 ? $# : 2))
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for program in "$build"/bin/fuzz_*; do [ -x "$program" ] && targets+=("$(basename "$program")"); done
fi
status=0
for name in "${targets[@]}"; do
  target="$build/bin/$name"
  [ -x "$target" ] || { echo "no fuzz target $target"; status=1; continue; }
  work="$build/fuzz-work/$name"
  mkdir -p "$work"
  seeds=()
  for corpus in "$root"/*/corpus/"$name" "$root"/*/regressions/"$name"; do
    [ -d "$corpus" ] && seeds+=("$corpus")
  done
  flags=()
  for file in "$root"/*/"$name".options; do
    [ -f "$file" ] && read -r -a more < "$file" && flags+=("${more[@]}")
  done
  for file in "$root"/*/"$name".dict; do
    [ -f "$file" ] && flags+=("-dict=$file")
  done
  echo "== $name (${seconds}s)"
  if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -artifact_prefix="$work/" "${flags[@]}" \
       "$work" "${seeds[@]}" > "$work/log.txt" 2>&1; then
    echo "FAILED: $name (see $work/log.txt)"
    tail -30 "$work/log.txt"
    status=1
  fi
done
exit $status
