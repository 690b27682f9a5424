#!/bin/bash
# Runs every fuzz target of a fuzz build for a while, seeded from its corpus folder when one
# exists (fuzz/<module>/corpus/<target>/). Usage: fuzz/run.sh BUILD_FOLDER [SECONDS_EACH]
set -euo pipefail
build=${1:?build folder}
seconds=${2:-30}
root=$(cd "$(dirname "$0")" && pwd)
status=0
for target in "$build"/bin/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  work="$build/fuzz-work/$name"
  mkdir -p "$work"
  seeds=()
  for corpus in "$root"/*/corpus/"$name"; do
    [ -d "$corpus" ] && seeds+=("$corpus")
  done
  # Options of the target's own (fuzz/<module>/<target>.options), such as a -max_len for formats
  # whose interesting files are larger than the seeds.
  options=()
  for file in "$root"/*/"$name".options; do
    [ -f "$file" ] && read -r -a options < "$file"
  done
  echo "== $name (${seconds}s)"
  if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -artifact_prefix="$work/" "${options[@]}" "$work" "${seeds[@]}" \
       > "$work/log.txt" 2>&1; then
    echo "FAILED: $name (see $work/log.txt)"
    tail -30 "$work/log.txt"
    status=1
  fi
done
exit $status
