#!/bin/sh
# Installs what building, running and testing Kelvaro needs on Debian 12.
# Uses sudo when not run as root; installs nothing when all is present.
set -eu
cd "$(dirname "$0")/.."
scripts/install-packages.sh build-essential cmake pkg-config clang libclang-rt-14-dev \
  libgtest-dev libbenchmark-dev libxcb1-dev qt6-svg-dev qt6-base-dev libgl-dev xvfb xauth openbox \
  python3-xlib fonts-arphic-uming fonts-noto-cjk qt6-translations-l10n poppler-utils \
  golang-github-mozillazg-go-pinyin-dev \
  libespeak-ng-dev espeak-ng-data help2man
