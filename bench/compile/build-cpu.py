#!/usr/bin/env python3
"""Sums the CPU time a build's compiles and links took, by kind of target.

Usage: bench/compile/build-cpu.py LOG
LOG is what bench/compile/timed-compiler.sh wrote during the build: one line per compiler run,
"compile|link OUTPUT USER SYS". Compiles are grouped by the target their object belongs to (its
CMakeFiles/TARGET.dir folder), links by the program's name.
"""
import collections
import re
import sys

LIBRARIES = re.compile(r"^sanguor_(audio|game|graphics|images|input|level|platform\w*|script|services|shell)$")


def group(kind, output):
    if "/CMakeFiles/CMakeScratch/" in output or "cmTC_" in output:
        return "configure checks"
    if kind == "link":
        name = output.rsplit("/", 1)[-1]
    else:
        found = re.search(r"CMakeFiles/([^/]+)\.dir/", output)
        name = found.group(1) if found else "?"
    if LIBRARIES.match(name):
        what = "framework libraries"
    elif name == "sanguor":
        what = "game"
    elif name.startswith("fuzz_") or name == "sanguor_corpus_replay":
        what = "fuzz replay programs"
    elif name.startswith("bench_"):
        what = "benchmarks"
    elif "test" in name or "probe" in name:
        what = "test programs"
    else:
        what = "tools"
    return f"{kind} {what}"


def main():
    seconds = collections.Counter()
    runs = collections.Counter()
    for line in open(sys.argv[1]):
        fields = line.split()
        if len(fields) < 4 or fields[0] not in ("compile", "link"):
            continue
        key = group(fields[0], " ".join(fields[1:-2]))
        seconds[key] += float(fields[-2]) + float(fields[-1])
        runs[key] += 1
    for key, total in sorted(seconds.items(), key=lambda item: -item[1]):
        print(f"{key:30} {runs[key]:5} {total:8.1f} s")
    print(f"{'all':30} {sum(runs.values()):5} {sum(seconds.values()):8.1f} s")


if __name__ == "__main__":
    main()
