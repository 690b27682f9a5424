#!/bin/bash
# clang-tidy with the checkout's .clang-tidy over every source under the folders given (src and
# tools when none is) that the build folder's compile_commands.json lists:
#   run-tidy.sh SOURCE_FOLDER BUILD_FOLDER JOBS [FOLDER...]
# TIDY_ARGS adds arguments to each clang-tidy run (the MinGW build passes its C++ headers).
# Prints each finding and exits non-zero when there is one (the configuration makes every
# warning an error). Headers are checked where they lie under src/ or tools/.
set -euo pipefail
src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
jobs=$3
shift 3
folders=("$@")
[ "${#folders[@]}" = 0 ] && folders=(src tools)
database=$build/compile_commands.json
if [ ! -f "$database" ]; then
  echo "run-tidy.sh: no $database (configure the build first)" >&2
  exit 1
fi

# Some sources are compiled into two libraries; each is checked once.
mapfile -t files < <(python3 - "$database" "$src" "${folders[@]}" <<'PY'
import json, sys
database, src, folders = sys.argv[1], sys.argv[2], sys.argv[3:]
prefixes = tuple(src + '/' + f.strip('/') + '/' for f in folders)
names = {entry['file'] for entry in json.load(open(database))}
print('\n'.join(sorted(n for n in names if n.startswith(prefixes))))
PY
)
if [ -z "${files[0]:-}" ]; then
  echo "run-tidy.sh: $database lists no source under ${folders[*]}" >&2
  exit 1
fi
echo "clang-tidy: ${#files[@]} files under ${folders[*]}, $jobs at a time"

# One file per run keeps each file's findings together; clang's "N warnings generated" count
# (mostly suppressed ones from system headers) is left out.
export build src TIDY_ARGS="${TIDY_ARGS:-}"
printf '%s\0' "${files[@]}" | xargs -0 -n 1 -P "$jobs" bash -c '
  out=$(clang-tidy -p "$build" --quiet --header-filter="^$src/(src|tools)/" $TIDY_ARGS "$1" 2>&1) \
    && status=0 || status=$?
  out=$(printf "%s\n" "$out" | grep -v " warnings\? \(and [0-9]* errors\? \)\?generated\.$" || true)
  [ -n "$out" ] && printf "%s\n" "$out"
  exit $((status == 0 ? 0 : 1))' _ \
  || { echo "clang-tidy: findings above (the rules are in .clang-tidy)" >&2; exit 1; }
echo "clang-tidy: no findings"
