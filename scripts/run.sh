#!/bin/sh
# Sets up, builds and runs the converter on a sample text.
set -eu
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/build.sh
build/cli/kelvaro-pinyin "重庆的小朋友在银行门口快乐地长大。"
