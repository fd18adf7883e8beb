#!/bin/sh
# Fails when a C++ source differs from what clang-format makes of it.
set -eu
cd "$(dirname "$0")/.."
scripts/install-packages.sh git clang-format
sources="$(git ls-files '*.cpp' '*.h')"
[ -n "$sources" ] || { echo "format: no sources found"; exit 1; }
# shellcheck disable=SC2086
clang-format --dry-run --Werror $sources
echo "format: clean"
