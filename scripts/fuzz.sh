#!/bin/sh
# Builds the libFuzzer targets with clang and runs each for SECONDS (default
# 30), starting from the seed corpus in tests/fuzz/corpus. New inputs go to a
# scratch folder, never into the repository. The text box's target keeps Qt's
# caches between inputs, so leaks are not looked for there.
set -eu
cd "$(dirname "$0")/.."
seconds="${1:-30}"
scripts/setup-debian.sh
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVARO_BUILD_GUI=ON \
  -DKELVARO_BUILD_TESTS=OFF -DKELVARO_BUILD_BENCH=OFF -DKELVARO_BUILD_FUZZERS=ON >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target conversion_fuzz word_list_fuzz cli_fuzz text_box_fuzz
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
for target in conversion_fuzz word_list_fuzz cli_fuzz text_box_fuzz; do
  leaks=1
  [ "$target" = text_box_fuzz ] && leaks=0
  mkdir -p "$scratch/$target"
  echo "== $target, $seconds s"
  ASAN_OPTIONS="detect_leaks=$leaks" build-fuzz/tests/fuzz/$target -max_total_time="$seconds" \
    -max_len=4096 -print_final_stats=1 -detect_leaks="$leaks" \
    "$scratch/$target" "tests/fuzz/corpus/$target" 2>"$scratch/$target.log" || {
    tail -50 "$scratch/$target.log"; exit 1; }
  grep -E "^(#[0-9]+.*DONE|stat::number_of_executed_units|stat::peak_rss_mb)|cov:" "$scratch/$target.log" | tail -3
done
