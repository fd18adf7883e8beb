#!/bin/sh
# Builds the Debian package, validates its desktop entry and AppStream data,
# checks it with lintian (no error may remain), installs it on this machine,
# checks its copyright file against the programs it ships, and starts the
# installed program under Xvfb to a screenshot, for a parent whose home
# folder has a Chinese name and who keeps a UTF-8 word list of their own in
# ~/.config/kelvaro/: that list, the pictures and the keyboard must show.
# CHECK_PACKAGE_DISPLAY: the first X display number tried (99 by default).
set -eu
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
# file and dpkg-dev: cpack works out the package's dependencies with them;
# python3-debian reads the copyright file and readelf (binutils) tells what
# each program links.
scripts/install-packages.sh file dpkg-dev desktop-file-utils appstream imagemagick \
  lintian python3-debian binutils xdotool python3-xlib
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
# Debian's policy: lintian may warn (the README says why each warning stays)
# but find no error.
lintian --fail-on error --display-info "$deb"
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "./$deb"
/usr/bin/python3 scripts/check_copyright.py /

# A parent's own list of three words, saved as UTF-8 with LF line ends, in a
# home folder named 小明.
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
home="$scratch/小明"
mkdir -p "$home/.config/kelvaro"
own="$home/.config/kelvaro/小孩子感兴趣的词.txt"
printf '恐龙\n熊猫\n长颈鹿\n' >"$own"
before="$(sha256sum <"$own")"
shot="$scratch/kelvaro.png"
# The screenshot is taken once the main window is shown and its program
# answers from its event loop, having drawn it: within a minute.
env -u XDG_CONFIG_HOME HOME="$home" xvfb-run -a -n "${CHECK_PACKAGE_DISPLAY:-99}" \
  -s "-screen 0 1280x800x24" sh -c "
  kelvaro & program=\$!
  tries=600
  until window=\$(xdotool search --onlyvisible --name '^Kelvaro' | head -n 1) && [ -n \"\$window\" ]; do
    tries=\$((tries - 1))
    [ \$tries -gt 0 ] || { echo 'the main window did not open'; kill \$program; exit 1; }
    sleep 0.1
  done
  scripts/window_responds.py \"\$window\" 50 || { echo 'the main window does not answer'; kill \$program; exit 1; }
  import -window root '$shot'
  kill \$program" || { echo "the installed program did not show its main window"; exit 1; }
[ "$(sha256sum <"$own")" = "$before" ] || { echo "the own word list was changed"; exit 1; }
# The first lines of the word list (left), the banner (top right) and the
# keyboard picture must show something other than the window's plain
# background; below the own list's three words the list box stays empty,
# where the installed list would go on.
deviation() {
  convert "$shot" -crop "$1" -colorspace Gray -format '%[fx:standard_deviation]' info:
}
for region in 110x60+10+60 160x45+690+2 640x210+140+308; do
  d="$(deviation "$region")"
  echo "region $region: deviation $d"
  awk -v d="$d" 'BEGIN { exit !(d > 0.05) }' || { echo "region $region is blank"; exit 1; }
done
d="$(deviation 110x400+10+200)"
echo "word list below its third word: deviation $d"
awk -v d="$d" 'BEGIN { exit !(d < 0.01) }' || { echo "the word list goes on past the own list"; exit 1; }
echo "installed package $deb starts and shows the parent's own word list and its pictures"
