#!/bin/bash
# unity-gate.sh PROJECT SCRATCH: runs the batch clash check over two sources of one library whose
# file-local helpers share a name with different parameters (it must fail and name both), then
# over the same sources with the helpers named apart (it must pass).
set -euo pipefail
project=$1
scratch=$2
rm -rf "$scratch"
mkdir -p "$scratch/src/lib" "$scratch/build"

write() {  # write NAME-IN-B
  cat > "$scratch/src/lib/a.cpp" <<'SOURCE'
namespace {
int Wrap(long value) { return static_cast<int>(value); }
}  // namespace
int A(long value) { return Wrap(value); }
SOURCE
  cat > "$scratch/src/lib/b.cpp" <<SOURCE
static int $1(int value) { return value + 1; }
int B(int value) { return $1(value); }
SOURCE
  local entries=""
  for source in a b; do
    entries+="{\"directory\": \"$scratch/build\", \"file\": \"$scratch/src/lib/$source.cpp\","
    entries+=" \"command\": \"g++ -O2 -g -o CMakeFiles/lib.dir/$source.cpp.o -c $scratch/src/lib/$source.cpp\"},"
  done
  echo "[${entries%,}]" > "$scratch/build/compile_commands.json"
}

write Wrap
if "$project/tools/unity/unity-clashes.py" "$scratch/build" 2 "$scratch" > "$scratch/out.txt"; then
  echo "FAIL: a file-local Wrap in both sources passed"; cat "$scratch/out.txt"; exit 1
fi
grep -q "lib: Wrap in src/lib/.\.cpp and src/lib/.\.cpp" "$scratch/out.txt" ||
  { echo "FAIL: the clash was not named"; cat "$scratch/out.txt"; exit 1; }

write Next
"$project/tools/unity/unity-clashes.py" "$scratch/build" 2 "$scratch" > "$scratch/out.txt" ||
  { echo "FAIL: sources with distinct helpers were refused"; cat "$scratch/out.txt"; exit 1; }
grep -q "2 sources, 0 clashes" "$scratch/out.txt"
echo "unity clash gate: a shared file-local name fails, distinct names pass"
