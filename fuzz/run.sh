#!/bin/bash
# Runs every fuzz target of a fuzz build for a while, seeded from its corpus and regression
# folders when they exist (fuzz/<module>/corpus/<target>/, fuzz/<module>/regressions/<target>/).
# A file fuzz/<module>/<target>.options adds libFuzzer flags, one a line (-max_len=N,
# -dict=FILE with FILE beside the options file); they come after the defaults here, so a lower
# -rss_limit_mb or a -timeout there wins. Usage: fuzz/run.sh BUILD_FOLDER [SECONDS_EACH]
set -euo pipefail
build=${1:?build folder}
seconds=${2:-30}
root=$(cd "$(dirname "$0")" && pwd)
status=0
# FUZZ_TARGETS="fuzz_a fuzz_b" in the environment runs only the targets it names.
for target in "$build"/bin/fuzz_*; do
  name=$(basename "$target")
  [[ -x "$target" && ( -z "${FUZZ_TARGETS:-}" || " $FUZZ_TARGETS " == *" $name "* ) ]] || continue
  work="$build/fuzz-work/$name"
  mkdir -p "$work"
  seeds=()
  for corpus in "$root"/*/corpus/"$name" "$root"/*/regressions/"$name"; do
    [ -d "$corpus" ] && seeds+=("$corpus")
  done
  flags=()
  for options in "$root"/*/"$name".options; do
    [ -f "$options" ] || continue
    while read -r flag; do
      case "$flag" in
        -dict=*) flags+=("-dict=$(dirname "$options")/${flag#-dict=}") ;;
        -*) flags+=("$flag") ;;
      esac
    done < "$options"
  done
  echo "== $name (${seconds}s)"
  if ! "$target" -max_total_time="$seconds" -rss_limit_mb=2048 "${flags[@]}" -artifact_prefix="$work/" "$work" "${seeds[@]}" \
       > "$work/log.txt" 2>&1; then
    echo "FAILED: $name (see $work/log.txt)"
    tail -30 "$work/log.txt"
    status=1
  fi
done
exit $status
