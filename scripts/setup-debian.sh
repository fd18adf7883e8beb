#!/bin/sh
# Installs what building, running and testing Kelvaro needs on Debian 12.
# Uses sudo when not run as root; installs nothing when all is present.
set -eu

PACKAGES="build-essential cmake pkg-config clang libclang-rt-14-dev libgtest-dev libbenchmark-dev libxcb1-dev qt6-svg-dev
qt6-base-dev libgl-dev xvfb xauth fonts-arphic-uming fonts-noto-cjk
golang-github-mozillazg-go-pinyin-dev"

missing=""
for package in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $package"
  fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
echo "Installing:$missing"
$SUDO apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
