#!/bin/sh
# Compares Kelvaro's readings with two references that choose a reading from
# context with their own phrase data, pinyin-pro and @napi-rs/pinyin, over the
# simplified-Chinese manual pages of Debian's manpages-zh. Needs the network
# (the references come from npm into a temporary folder), so it is no test.
#   scripts/compare-references.sh [KELVARO_PINYIN] [--disagreements FILE]
#       compares (default converter: build/cli/kelvaro-pinyin) and writes
#       every character where Kelvaro differs from a reference to FILE
#   scripts/compare-references.sh --sample N --seed S [--kind both|one|any] --disagreements FILE
#       prints N rows of FILE drawn at random (both: Kelvaro differs from both
#       references; one: from one of them, named in the last column)
set -eu
scripts="$(cd "$(dirname "$0")" && pwd)"
references="pinyin-pro@3.29.4 @napi-rs/pinyin@1.8.0"

usage() {
  sed -n '6,12s/^# \{0,1\}//p' "$0" >&2
  exit 2
}

converter="$scripts/../build/cli/kelvaro-pinyin"
disagreements=""
sample=""
seed=""
kind="any"
while [ $# -gt 0 ]; do
  case "$1" in
    --disagreements) [ $# -ge 2 ] || usage; disagreements="$2"; shift 2 ;;
    --sample) [ $# -ge 2 ] || usage; sample="$2"; shift 2 ;;
    --seed) [ $# -ge 2 ] || usage; seed="$2"; shift 2 ;;
    --kind) [ $# -ge 2 ] || usage; kind="$2"; shift 2 ;;
    -*) usage ;;
    *) converter="$1"; shift ;;
  esac
done

if [ -n "$sample" ]; then
  if [ -z "$seed" ] || [ -z "$disagreements" ]; then usage; fi
  exec python3 -B "$scripts/compare_readings.py" sample "$sample" "$seed" "$kind" "$disagreements"
fi
[ -x "$converter" ] || { echo "compare: no converter at $converter (build it with scripts/build.sh)" >&2; exit 1; }

"$scripts/install-packages.sh" manpages-zh python3
command -v node >/dev/null || "$scripts/install-packages.sh" nodejs
command -v npm >/dev/null || "$scripts/install-packages.sh" npm

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# shellcheck disable=SC2086
npm install --silent --no-audit --no-fund --prefix "$work" $references >/dev/null

python3 -B "$scripts/man_corpus.py" /usr/share/man/zh_CN "$work/corpus.txt" "$work/pages.txt"
"$converter" --with-characters < "$work/corpus.txt" > "$work/kelvaro.txt"
node "$scripts/reference_readings.mjs" "$work/corpus.txt" "$work/node_modules" > "$work/references.txt"
python3 -B "$scripts/compare_readings.py" compare "$work/corpus.txt" "$work/pages.txt" \
  "$work/kelvaro.txt" "$work/references.txt" ${disagreements:+"$disagreements"}
