#!/bin/sh
# Time from process start to the main window shown with its first conversion
# done (offscreen), over 30 runs with hyperfine, and the resident memory then.
set -eu
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/install-packages.sh hyperfine
scripts/build.sh >/dev/null
json="$(mktemp)"
trap 'rm -f "$json"' EXIT
hyperfine -N --warmup 3 --runs 30 --export-json "$json" 'env QT_QPA_PLATFORM=offscreen build/bench/startup_probe' >/dev/null
python3 -c "import json,sys; r=json.load(open(sys.argv[1]))['results'][0]; print('start-up median %.1f ms (min %.1f, max %.1f)' % (r['median']*1e3, r['min']*1e3, r['max']*1e3))" "$json"
QT_QPA_PLATFORM=offscreen build/bench/startup_probe 2>/dev/null
