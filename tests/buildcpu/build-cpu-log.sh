#!/bin/bash
# The timing compiler logs a real compile and link with their outputs, and build-cpu.py sums a
# log by kind of target: objects by the target folder they lie in, programs by their name.
# Usage: build-cpu-log.sh SOURCE_FOLDER SCRATCH_FOLDER
set -euo pipefail
source=$1
scratch=$2
rm -rf "$scratch"
mkdir -p "$scratch/CMakeFiles/sanguor_game_tests.dir"
cd "$scratch"
export BUILD_CPU_LOG=$scratch/cpu.log
printf 'int main() { return 0; }\n' > main.cpp
"$source/bench/compile/timed/g++" -O1 -c main.cpp -o CMakeFiles/sanguor_game_tests.dir/main.cpp.o
"$source/bench/compile/timed/g++" CMakeFiles/sanguor_game_tests.dir/main.cpp.o -o sanguor_game_tests
./sanguor_game_tests
fail() { echo "FAIL: $*" >&2; cat "$BUILD_CPU_LOG" >&2; exit 1; }
[ "$(wc -l < "$BUILD_CPU_LOG")" = 2 ] || fail "two compiler runs, two lines"
grep -Eq "^compile $scratch/CMakeFiles/sanguor_game_tests.dir/main.cpp.o [0-9.]+ [0-9.]+$" "$BUILD_CPU_LOG" || fail "compile line"
grep -Eq "^link $scratch/sanguor_game_tests [0-9.]+ [0-9.]+$" "$BUILD_CPU_LOG" || fail "link line"
cat > sample.log <<'LOG'
compile /b/src/graphics/CMakeFiles/sanguor_graphics.dir/fwkFont.cpp.o 1.50 0.30
compile /b/src/platform/CMakeFiles/sanguor_platform_video.dir/video.cpp.o 2.00 0.00
compile /b/tests/game/CMakeFiles/sanguor_game_tests.dir/sanguor_game_tests_unity.cpp.o 4.00 0.50
compile /b/CMakeFiles/sanguor_corpus_replay.dir/fuzz/corpus_replay.cpp.o 0.75 0.00
compile /b/fuzz/images/CMakeFiles/fuzz_image_gif.dir/fuzz_image.cpp.o 0.25 0.00
compile /b/tools/qza/CMakeFiles/qza.dir/main.cpp.o 1.00 0.00
link /b/bin/sanguor_game_tests 0.20 0.10
not a compiler line
LOG
"$source/bench/compile/build-cpu.py" sample.log > sums.txt
check() { grep -Eq "^$1 +$2 +$3 s$" sums.txt || { cat sums.txt >&2; fail "$1: $2 runs, $3 s"; }; }
check "compile framework libraries" 2 3.8
check "compile test programs" 1 4.5
check "compile fuzz replay programs" 2 1.0
check "compile tools" 1 1.0
check "link test programs" 1 0.3
check "all" 7 10.6
echo "build-cpu log and sums: ok"
