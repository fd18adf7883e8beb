#!/bin/sh
# Builds the Debian package, validates its desktop entry and AppStream data,
# installs it on this machine and starts the installed program under Xvfb to
# a screenshot, checking that the word list and the pictures were found.
set -eu
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
# file and dpkg-dev: cpack works out the package's dependencies with them.
scripts/install-packages.sh file dpkg-dev desktop-file-utils appstream imagemagick
if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi

desktop-file-validate resources/desktop/org.kelvaro.Kelvaro.desktop
appstreamcli validate --no-net resources/desktop/org.kelvaro.Kelvaro.metainfo.xml

scripts/build.sh
# cpack archives the word list under its Chinese name, which it can only
# write in a UTF-8 locale; a new machine may have none set.
(cd build && LC_ALL=C.UTF-8 cpack -G DEB >/dev/null)
deb="$(ls build/kelvaro_*_amd64.deb)"
# No placeholder address (the reserved example domain) may ship.
unpacked="$(mktemp -d)"
dpkg-deb -x "$deb" "$unpacked"
if grep -r -a -q -E "example[.]com" "$unpacked"; then
  echo "$deb holds a placeholder address"; exit 1
fi
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "./$deb"

shot="$(mktemp -d)/kelvaro.png"
xvfb-run -a -s "-screen 0 1280x800x24" sh -c "
  kelvaro & program=\$!
  sleep 4
  import -window root '$shot'
  kill \$program" || true
# The word list (left), the banner (top right) and the keyboard picture must
# show something other than the window's plain background.
for region in 110x600+10+60 160x45+690+2 640x210+140+308; do
  deviation="$(convert "$shot" -crop "$region" -colorspace Gray -format '%[fx:standard_deviation]' info:)"
  echo "region $region: deviation $deviation"
  awk -v d="$deviation" 'BEGIN { exit !(d > 0.05) }' || { echo "region $region is blank"; exit 1; }
done
echo "installed package $deb starts and shows its word list and pictures"
