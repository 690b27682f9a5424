#!/usr/bin/env python3
"""CPU time of compiling a test program as one translation unit against its sources one by one.

Usage: bench/compile/compile-cpu.py BUILD_FOLDER PROGRAM...
For each test program, takes the compile command of its generated file (PROGRAM_unity.cpp) from
BUILD_FOLDER/compile_commands.json, compiles that file once and then each source it includes on
its own with the same command, without the compiler cache, and prints the child CPU time (user +
system) of both. CPU time, because on a shared machine the wall time swings with the load.
"""
import json
import os
import re
import resource
import shlex
import subprocess
import sys


def cpu(arguments, folder):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run(arguments, cwd=folder, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime


def main():
    build = os.path.abspath(sys.argv[1])
    source_root = os.path.dirname(os.path.abspath(os.path.dirname(__file__) + "/.."))
    commands = json.load(open(os.path.join(build, "compile_commands.json")))
    output = os.path.join(build, "compile-cpu.o")
    for program in sys.argv[2:]:
        entry = next(e for e in commands if e["file"].endswith("/" + program + "_unity.cpp"))
        arguments = shlex.split(entry["command"])
        if os.path.basename(arguments[0]) == "ccache":
            arguments = arguments[1:]
        arguments[arguments.index("-o") + 1] = output
        source_at = arguments.index("-c") + 1
        whole = cpu(arguments, entry["directory"])
        included = re.findall(r'#include "(.*)"', open(entry["file"]).read())
        separate = 0.0
        for source in included:
            arguments[source_at] = os.path.join(source_root, source)
            separate += cpu(arguments, entry["directory"])
        print(f"{program}: {len(included)} sources, one by one {separate:.1f} s, as one {whole:.1f} s, "
              f"ratio {whole / separate:.2f}", flush=True)
    os.remove(output)


main()
