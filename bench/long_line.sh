#!/bin/sh
# Lines without break opportunities and long clusters: a line of 1,000,000
# letters typed into and deleted, a letter carrying 200,000 combining marks, a
# word-list entry of 10,000,000 letters. Memory (VmRSS) and median times, each
# case in a process of its own (see bench/long_line_bench.cpp). Given the paths
# of several long_line_bench programs, say built before and after a change,
# runs each of them on each case in turn, side by side in one run.
set -eu
cd "$(dirname "$0")/.."
if [ $# -eq 0 ]; then
  scripts/setup-debian.sh
  scripts/build.sh >/dev/null
  set -- build/bench/long_line_bench
fi
for case in box window cluster list; do
  echo "== $case"
  for program in "$@"; do
    echo "-- $program"
    QT_QPA_PLATFORM=offscreen "$program" "$case" 2>/dev/null | sed 's/^/   /'
  done
done
