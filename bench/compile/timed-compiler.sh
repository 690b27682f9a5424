#!/bin/bash
# A compiler that logs its own CPU time: run as timed/gcc or timed/g++ (CC and CXX of a fresh
# configure), it runs /usr/bin/gcc or /usr/bin/g++ and appends "compile|link OUTPUT USER SYS" to
# $BUILD_CPU_LOG. build-cpu.py sums the log by kind of target.
log=${BUILD_CPU_LOG:?BUILD_CPU_LOG names the log file}
kind=link
out=""
previous=""
for argument in "$@"; do
  [ "$previous" = "-o" ] && out=$argument
  [ "$argument" = "-c" ] && kind=compile
  previous=$argument
done
exec /usr/bin/time -a -o "$log" -f "$kind $PWD/$out %U %S" "/usr/bin/$(basename "$0")" "$@"
