#!/bin/sh
# Fetches the word data that resources/word-readings.txt is generated from
# (pinyin-pro's data set, from npm) into build/word-data, for the test that
# regenerates the file. Without npm or a network it says so and the test is
# skipped.
set -eu
cd "$(dirname "$0")/.."
data=build/word-data
[ -f "$data/node_modules/@pinyin-pro/data/json/complete.json" ] && exit 0
command -v npm >/dev/null || scripts/install-packages.sh nodejs npm
mkdir -p "$data"
npm install --silent --no-audit --no-fund --prefix "$data" @pinyin-pro/data@1.3.1 >/dev/null ||
  echo "fetch-word-data: could not fetch @pinyin-pro/data; the regeneration of word-readings.txt is skipped"
