#!/bin/sh
# Start-up beside hostile word-list files: the time from process start until
# the main window is shown with its first conversion done (offscreen), and the
# peak memory, median of 7 runs each, side by side: the shipped list, a 4 GiB
# sparse file, and a file that a writer keeps extending while the program starts.
set -eu
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/build.sh >/dev/null
scratch="$(mktemp -d)"
# The lists beside the probe only, whatever list of their own this machine's
# user keeps in ~/.config/kelvaro/.
export XDG_CONFIG_HOME="$scratch/no-own-list"
writer=""
trap '[ -z "$writer" ] || kill "$writer"; rm -rf "$scratch"' EXIT
list="小孩子感兴趣的词.txt"

# A program directory holding the start-up probe.
program_dir() {
  mkdir "$scratch/$1"
  cp build/bench/startup_probe "$scratch/$1/"
  echo "$scratch/$1"
}

measure() {  # label, program directory
  : >"$scratch/runs"
  for run in 1 2 3 4 5 6 7; do
    QT_QPA_PLATFORM=offscreen /usr/bin/time -f "%e %M" -o "$scratch/time" \
      "$2/startup_probe" >/dev/null 2>&1
    cat "$scratch/time" >>"$scratch/runs"
  done
  seconds="$(cut -d' ' -f1 "$scratch/runs" | sort -n | sed -n 4p)"
  kib="$(cut -d' ' -f2 "$scratch/runs" | sort -n | sed -n 4p)"
  awk -v label="$1" -v s="$seconds" -v k="$kib" \
    'BEGIN { printf "%-26s start %5.0f ms   peak memory %4.0f MiB\n", label, s * 1000, k / 1024 }'
}

shipped="$(program_dir shipped)"
cp "resources/$list" "$shipped/"
sparse="$(program_dir sparse)"
truncate -s 4G "$sparse/$list"
growing="$(program_dir growing)"
: >"$growing/$list"
# Grows the file by 16 MiB at a time, as fast as it can, without using the disk.
(while :; do truncate -s +16M "$growing/$list"; done) &
writer=$!

measure "shipped word list" "$shipped"
measure "4 GiB sparse file" "$sparse"
measure "file still being written" "$growing"
