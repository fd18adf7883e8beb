#!/bin/sh
# Configures and builds into ./build (Release). In CI warnings are errors.
set -eu
cd "$(dirname "$0")/.."
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DKELVARO_WERROR="$werror" >/dev/null
cmake --build build -j"$(nproc)"
