#!/bin/bash
# Start-up of a headless run against an offscreen OpenGL context alone, in one run: the game up
# to its first main-loop pass and out again (sanguor -headless -quit 0), the same with the first
# pass (-quit 17: the first level loaded and its briefing entered), and bench_gl_context (the
# same kind of context and offscreen buffers, nothing else). Each is run REPEATS times,
# interleaved; prints the median CPU time (user + system, all threads, from the kernel's
# accounting of the child) of each and the ratios. CPU time, because on a shared machine the
# wall time swings with the load. Sound goes to OpenAL Soft's null output. With OTHER_BIN_FOLDER
# the game of that build (an earlier one, say) runs in the same rounds, against the same baseline.
# Usage: bench/startup/startup.sh BIN_FOLDER [REPEATS] [OTHER_BIN_FOLDER]
set -euo pipefail
bin=$(cd "${1:?bin folder}" && pwd)
repeats=${2:-15}
other=""
if [ -n "${3:-}" ]; then other=$(cd "$3" && pwd); fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$bin"
XDG_DATA_HOME="$work/home" SDL_VIDEODRIVER=offscreen LIBGL_ALWAYS_SOFTWARE=1 ALSOFT_DRIVERS=null \
python3 - "$repeats" "$other" <<'PYTHON'
import os, resource, statistics, subprocess, sys

repeats = int(sys.argv[1])
other = sys.argv[2]
runs = {
    "context alone": ["./bench_gl_context"],
    "game, -quit 0": ["./sanguor", "-headless", "-seed", "1", "-quit", "0"],
    "game, -quit 17": ["./sanguor", "-headless", "-seed", "1", "-quit", "17"],
}
if other:
    runs["other, -quit 0"] = [other + "/sanguor", "-headless", "-seed", "1", "-quit", "0"]
    runs["other, -quit 17"] = [other + "/sanguor", "-headless", "-seed", "1", "-quit", "17"]
times = {name: [] for name in runs}
for _ in range(repeats):
    for name, command in runs.items():
        before = resource.getrusage(resource.RUSAGE_CHILDREN)
        subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        after = resource.getrusage(resource.RUSAGE_CHILDREN)
        times[name].append(after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime)
baseline = statistics.median(times["context alone"])
for name, values in times.items():
    median = statistics.median(values)
    print(f"{name:16} {median * 1000:7.1f} ms CPU   ratio {median / baseline:5.2f}   (median of {repeats})")
PYTHON
