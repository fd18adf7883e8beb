#!/bin/sh
# Sets up, builds and starts Kelvaro.
set -eu
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display here: start Kelvaro from a desktop session, or as 'xvfb-run build/app/kelvaro'. The converter needs none:"
  build/cli/kelvaro-pinyin "重庆的小朋友在银行门口快乐地长大。"
  exit 0
fi
exec build/app/kelvaro
