#!/bin/sh
# Fails when a C++ source differs from what clang-format makes of it.
set -eu
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || {
  if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq clang-format
}
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
echo "format: clean"
