#!/bin/sh
# Builds the core, the converter, the windows and every test with
# AddressSanitizer and UndefinedBehaviorSanitizer into ./build-asan and runs
# the tests there. Any report fails the run.
set -eu
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVARO_SANITIZE=ON \
  -DKELVARO_BUILD_BENCH=OFF -DKELVARO_WERROR=ON >/dev/null
cmake --build build-asan -j"$(nproc)"
cd build-asan
ASAN_OPTIONS="abort_on_error=0:detect_leaks=1" \
LSAN_OPTIONS="suppressions=$PWD/../tests/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  ctest --output-on-failure -j"$(nproc)"
