#!/bin/sh
# One keystroke at the end and in the middle of long source texts: the time
# until the pinyin and hint boxes hold the new texts and have painted.
set -eu
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/build.sh >/dev/null
QT_QPA_PLATFORM=offscreen build/bench/typing_bench 2>/dev/null
