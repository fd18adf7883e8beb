#!/bin/sh
# Kelvaro's conversion against two peer libraries, in one run, one core each:
# @napi-rs/pinyin (native, per character) and pinyin-pro 3 (context-aware).
# The corpus is the Tang and Song poems of Debian's fortunes-zh, repeated to
# 1,000,000 Han characters. The peers are installed from npm into a
# temporary folder. Arguments: corpus_throughput programs of other builds, to
# compare side by side in the same run (default: this build's only).
set -eu
cd "$(dirname "$0")/.."
scripts/install-packages.sh fortunes-zh nodejs npm
scripts/build.sh >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# Poems without the colour escapes and the % separators, repeated.
sed -e 's/\x1b\[[0-9;]*m//g' -e '/^%$/d' /usr/share/games/fortunes/tang300 /usr/share/games/fortunes/song100 > "$work/poems.txt"
python3 - "$work/poems.txt" "$work/corpus.txt" <<'PY'
import sys
poems = open(sys.argv[1], encoding="utf-8").read()
han = sum(1 for c in poems if "\u4e00" <= c <= "\u9fff")
text = []
need = 1_000_000
while need > 0:
    text.append(poems)
    need -= han
corpus = "".join(text)
# Cut at exactly one million Han characters.
count = 0
for i, c in enumerate(corpus):
    if "\u4e00" <= c <= "\u9fff":
        count += 1
        if count == 1_000_000:
            corpus = corpus[: i + 1]
            break
open(sys.argv[2], "w", encoding="utf-8").write(corpus)
PY
(cd "$work" && npm install --silent --no-audit --no-fund --prefix "$work" @napi-rs/pinyin pinyin-pro@3 >/dev/null)

[ $# -gt 0 ] || set -- build/bench/corpus_throughput
{
  for program in "$@"; do
    taskset -c 0 "$program" "$work/corpus.txt" | sed "s|^kelvaro|$program|"
  done
  taskset -c 0 node bench/peers.mjs "$work/corpus.txt" "$work/node_modules"
} > "$work/results.txt"

awk -v builds=$# '
  { name[NR] = $1; median[NR] = $2; low[NR] = $3; high[NR] = $4 }
  END {
    printf "%-40s %14s %14s %14s\n", "converter", "median chars/s", "min", "max"
    for (i = 1; i <= NR; i++) printf "%-40s %14.0f %14.0f %14.0f\n", name[i], median[i], low[i], high[i]
    for (k = 1; k <= builds; k++)
      for (i = builds + 1; i <= NR; i++)
        printf "%s / %s %8.1f x\n", name[k], name[i], median[k] / median[i]
  }' "$work/results.txt"
