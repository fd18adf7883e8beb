#!/bin/sh
# Opens the home page in headless Chromium: every link resolves to a file of
# the page, the console shows no error, the copy buttons copy their text, and
# the page's word-list command works. Screenshots go to build/home-page-check/.
# Checks the page of the build tree, or the one in the folder given.
set -eu
cd "$(dirname "$0")/.."
scripts/install-packages.sh chromium python3 fonts-noto-cjk
page="${1:-build/share/kelvaro}"
[ -f "$page/index.html" ] || { echo "no home page in $page: build first (scripts/build.sh)"; exit 1; }
/usr/bin/python3 scripts/home_page_in_browser.py "$page" build/home-page-check
