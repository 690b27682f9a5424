#!/usr/bin/env python3
"""Finds file-local functions that would meet in one batch of the batched build.

Usage: tools/unity/unity-clashes.py BUILD [JOBS [PROJECT]]
BUILD is a build folder configured source by source (SANGUOR_UNITY_LIBRARIES=OFF, as `make tidy`
configures build-tidy/). Every source under src/ and tools/ is compiled once more at -O0 with
file-local functions kept (through the build's compiler cache, so a second run is quick), and
their names are compared within each library or program: a file-local function (anonymous
namespace or static) whose name another source of the same target also defines, file-local or
not, is printed with both sources. In a batch two such functions are either a compile error or,
with different parameters, overloads of which a call may silently take the other's. Exit status
1 when any is found.
"""
import collections
import concurrent.futures
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile

ANONYMOUS = "(anonymous namespace)::"


def function_names(nm_output):
    """(file-local names, global names) of the functions an object defines."""
    local, exported = set(), set()
    for line in nm_output.splitlines():
        fields = line.split(None, 2)
        if len(fields) < 3 or fields[1] not in "tT" or "(" not in fields[2]:
            continue
        name = fields[2]
        anonymous = name.startswith(ANONYMOUS)
        name = name.replace(ANONYMOUS, "").split("(")[0].split("<")[0].strip()
        if "::" in name or name.startswith("_") or name in ("decltype", "operator"):
            continue
        (local if anonymous or fields[1] == "t" else exported).add(name)
    return local, exported


def scan(entry, root, scratch, index):
    command = shlex.split(entry["command"])
    obj = os.path.join(scratch, f"{index}.o")
    command[command.index("-o") + 1] = obj
    command = [c for c in command if not re.match(r"^-O|^-g", c)]
    command += ["-O0", "-g0", "-fkeep-static-functions"]
    subprocess.run(command, cwd=entry["directory"], check=True, capture_output=True)
    nm = subprocess.run(["nm", "-C", obj], check=True, capture_output=True, text=True).stdout
    target = re.search(r"CMakeFiles/([^/]+)\.dir/", entry["command"]).group(1)
    return target, os.path.relpath(entry["file"], root), function_names(nm)


def main():
    build = sys.argv[1]
    jobs = int(sys.argv[2]) if len(sys.argv) > 2 else os.cpu_count()
    root = sys.argv[3] if len(sys.argv) > 3 else \
        os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    entries = [e for e in json.load(open(os.path.join(build, "compile_commands.json")))
               if os.path.relpath(e["file"], root).startswith(("src/", "tools/"))]
    by_target = collections.defaultdict(list)
    with tempfile.TemporaryDirectory() as scratch, \
            concurrent.futures.ThreadPoolExecutor(jobs) as pool:
        for target, source, names in pool.map(lambda pair: scan(pair[1], root, scratch, pair[0]),
                                              enumerate(entries)):
            by_target[target].append((source, names))
    found = 0
    for target, sources in sorted(by_target.items()):
        for source, (local, _) in sources:
            for other, (other_local, other_exported) in sources:
                if other == source:
                    continue
                for name in sorted(local & (other_local | other_exported)):
                    if other_local and name in other_local and other < source:
                        continue
                    print(f"{target}: {name} in {source} and {other}")
                    found += 1
    print(f"{len(entries)} sources, {found} clashes")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
