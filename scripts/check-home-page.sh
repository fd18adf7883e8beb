#!/bin/sh
# Opens the home page in headless Chromium: every link resolves to a file of
# the page, the console shows no error, the copy buttons copy their text, and
# the page's word-list command works. Screenshots go to build/home-page-check/.
# Checks the page of the build tree, or the one in the folder given. CI gives
# /usr/share/kelvaro, the page of the installed package, which this script
# does not install: scripts/check-package.sh, the step before it, does.
set -eu
cd "$(dirname "$0")/.."
page="${1:-build/share/kelvaro}"
if [ ! -f "$page/index.html" ]; then
  if [ $# -eq 0 ]; then
    echo "check-home-page: no home page in $page: build first (scripts/build.sh)" >&2
  else
    echo "check-home-page: no home page in $page: for the installed package's page" \
      "(/usr/share/kelvaro), install the package first (scripts/check-package.sh)" >&2
  fi
  exit 1
fi
scripts/install-packages.sh chromium python3 fonts-noto-cjk
/usr/bin/python3 scripts/home_page_in_browser.py "$page" build/home-page-check
