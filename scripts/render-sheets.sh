#!/bin/sh
# Renders the reading sheets of the test print_sheet_tests (a poem and a
# story, ruby and practice grid) to PDF and each page to PNG, for a look.
# Usage: scripts/render-sheets.sh [OUTPUT_FOLDER] [DPI]   (build/sheets, 60)
set -eu
cd "$(dirname "$0")/.."
out="${1:-build/sheets}"
dpi="${2:-60}"
scripts/install-packages.sh poppler-utils
cmake --build build -j2 --target print_sheet_tests
mkdir -p "$out"
KELVARO_SHEET_PDF_DIR="$(cd "$out" && pwd)" QT_QPA_PLATFORM=offscreen \
  XDG_CONFIG_HOME="$(mktemp -d)" build/tests/gui/print_sheet_tests sheetInPdf >/dev/null
for pdf in "$out"/*.pdf; do
  pdftoppm -r "$dpi" -png "$pdf" "${pdf%.pdf}"
  echo "$pdf: $(pdfinfo "$pdf" | sed -n 's/^Pages: *//p') pages"
done
