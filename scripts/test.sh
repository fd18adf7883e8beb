#!/bin/sh
# Sets up, builds and runs every test.
set -eu
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/fetch-word-data.sh
scripts/build.sh
cd build
ctest --output-on-failure -j"$(nproc)"
