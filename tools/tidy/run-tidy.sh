#!/bin/bash
# clang-tidy with the checkout's .clang-tidy over every source under src/ and tools/ that the
# build folder's compile_commands.json lists: run-tidy.sh SOURCE_FOLDER BUILD_FOLDER JOBS.
# Prints each finding and exits non-zero when there is one (the configuration makes every
# warning an error). The Win32 backend is not in the Linux build, so it is not checked here.
set -euo pipefail
src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
jobs=$3
database=$build/compile_commands.json
if [ ! -f "$database" ]; then
  echo "run-tidy.sh: no $database (configure the build first)" >&2
  exit 1
fi

# Some sources are compiled into two libraries; each is checked once.
mapfile -t files < <(python3 - "$database" "$src" <<'PY'
import json, sys
database, src = sys.argv[1], sys.argv[2]
names = {entry['file'] for entry in json.load(open(database))}
print('\n'.join(sorted(n for n in names if n.startswith((src + '/src/', src + '/tools/')))))
PY
)
if [ "${#files[@]}" = 0 ]; then
  echo "run-tidy.sh: $database lists no source under $src" >&2
  exit 1
fi
echo "clang-tidy: ${#files[@]} files, $jobs at a time"

# One file per run keeps each file's findings together; clang's "N warnings generated" count
# (mostly suppressed ones from system headers) is left out.
export build src
printf '%s\0' "${files[@]}" | xargs -0 -n 1 -P "$jobs" bash -c '
  out=$(clang-tidy -p "$build" --quiet --header-filter="^$src/(src|tools)/" "$1" 2>&1) && status=0 || status=$?
  out=$(printf "%s\n" "$out" | grep -v " warnings\? generated\.$" || true)
  [ -n "$out" ] && printf "%s\n" "$out"
  exit $((status == 0 ? 0 : 1))' _ \
  || { echo "clang-tidy: findings above (the rules are in .clang-tidy)" >&2; exit 1; }
echo "clang-tidy: no findings"
