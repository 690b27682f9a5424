#!/bin/bash
# tidy-gate.sh SOURCE_FOLDER SCRATCH_FOLDER: builds a small tree with the checkout's .clang-tidy
# and a compile_commands.json, and runs tools/tidy/run-tidy.sh on it in several states.
set -euo pipefail
src=$(cd "$1" && pwd)
scratch=$2
if ! command -v clang-tidy > /dev/null; then
  echo "clang-tidy is not installed (make deps-clang): skipped"
  exit 77
fi
rm -rf "$scratch"
mkdir -p "$scratch/src/lib" "$scratch/tools/tool" "$scratch/other" "$scratch/build"
scratch=$(cd "$scratch" && pwd)
cp "$src/.clang-tidy" "$scratch/"

status=0
fail() { echo "FAILED: $*" >&2; status=1; }

# Clean code in both checked folders; a header outside them with a fault that is not ours.
cat > "$scratch/src/lib/clean.cpp" <<'CPP'
#include <string>
#include <utility>
#include "other/outside.h"
std::string Joined(std::string a, const std::string& b) {
  std::string result = std::move(a);
  result += b;
  return result;
}
CPP
cat > "$scratch/other/outside.h" <<'CPP'
#include <string>
#include <utility>
inline std::size_t Outside(std::string s) {
  std::string t = std::move(s);
  return s.size() + t.size();
}
CPP
cat > "$scratch/tools/tool/tool.cpp" <<'CPP'
int main() { return 0; }
CPP

# Writes the database: every source given, the first one twice (as when two libraries compile it).
database() {
  python3 - "$scratch" "$@" <<'PY'
import json, sys
root, files = sys.argv[1], sys.argv[2:]
entries = [{'directory': root + '/build', 'file': root + '/' + f,
            'command': 'c++ -std=c++20 -I' + root + ' -c ' + root + '/' + f} for f in files]
json.dump(entries + entries[:1], open(root + '/build/compile_commands.json', 'w'))
PY
}

run() { "$src/tools/tidy/run-tidy.sh" "$scratch" "$scratch/build" 2 > "$scratch/out.txt" 2>&1; }

# 1. Clean sources pass, each counted once; the outside header's fault is not reported.
database src/lib/clean.cpp tools/tool/tool.cpp
if ! run; then fail "clean sources were reported"; cat "$scratch/out.txt"; fi
grep -q "clang-tidy: 2 files under src tools" "$scratch/out.txt" || fail "a source listed twice was not checked once"
grep -q "outside.h" "$scratch/out.txt" && fail "a header outside src/ and tools/ was reported"
"$src/tools/tidy/run-tidy.sh" "$scratch" "$scratch/build" 2 tools > "$scratch/out.txt" 2>&1 \
  || fail "the tools folder alone was reported"
grep -q "clang-tidy: 1 files under tools" "$scratch/out.txt" || fail "a folder given did not narrow the set"

# 2. A use after move in a source under src/ fails the step and names the file, line and check.
#    It is compiled only with a definition, which TIDY_ARGS must carry to each run.
cat > "$scratch/src/lib/moved.cpp" <<'CPP'
#include <string>
#include <utility>
std::size_t Moved(std::string s) {
  std::string t = std::move(s);
#ifdef SANGUOR_GATE_FAULT
  return s.size() + t.size();
#else
  return t.size();
#endif
}
CPP
database src/lib/clean.cpp src/lib/moved.cpp tools/tool/tool.cpp
run || fail "the fault hidden behind a definition was reported without it"
if TIDY_ARGS=--extra-arg=-DSANGUOR_GATE_FAULT run; then fail "a use after move passed"; fi
grep -q "src/lib/moved.cpp:6:.*\[bugprone-use-after-move" "$scratch/out.txt" \
  || { fail "the use after move was not named"; cat "$scratch/out.txt"; }

# 3. A fault in a header of our own, included by a clean tool source, fails too: an undefined
#    value read (the analyzer) and a memset with its last two arguments swapped.
cat > "$scratch/src/lib/faulty.h" <<'CPP'
#include <cstring>
inline int Undefined(bool flag) {
  int value;
  if (flag) value = 1;
  return value;
}
inline void Clear(int* values) { std::memset(values, 4 * sizeof(int), 0); }
CPP
cat > "$scratch/tools/tool/tool.cpp" <<'CPP'
#include "src/lib/faulty.h"
int main(int argc, char**) { int v[4]; Clear(v); return Undefined(argc > 1) + v[0]; }
CPP
database src/lib/clean.cpp tools/tool/tool.cpp
if run; then fail "a faulty header of ours passed"; fi
grep -q "src/lib/faulty.h:.*\[clang-analyzer-core" "$scratch/out.txt" \
  || { fail "the undefined value was not named"; cat "$scratch/out.txt"; }
grep -q "src/lib/faulty.h:7:.*\[bugprone-suspicious-memset-usage" "$scratch/out.txt" \
  || { fail "the swapped memset was not named"; cat "$scratch/out.txt"; }

# 4. No database: a failure with a reason, not a pass.
rm "$scratch/build/compile_commands.json"
if run; then fail "a missing database passed"; fi
grep -q "configure the build first" "$scratch/out.txt" || fail "a missing database gave no reason"

[ "$status" = 0 ] && echo "tidy gate: faults fail the step, clean code passes"
exit $status
