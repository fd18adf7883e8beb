#!/bin/sh
# Types pinyin through a real input method into each of the four text boxes,
# as a child would: fcitx5 with its pinyin engine on a virtual X display.
# For each box it checks that "zhongguo" and Space commit 中国, that the
# pinyin being composed shows at the caret, and that after a click moves the
# caret the candidate window opens at the new caret. Cleans up everything it
# started; exits non-zero on the first failed check.
set -eu
cd "$(dirname "$0")/.."
scripts/install-packages.sh xvfb xauth openbox xdotool x11-utils xclip dbus-x11 imagemagick \
  fcitx5 fcitx5-chinese-addons fcitx5-frontend-qt6
[ -x build/app/kelvaro ] || scripts/build.sh >/dev/null

work=$(mktemp -d)
pids=""
cleanup() {
  for pid in $pids; do kill "$pid" 2>/dev/null || true; done
  for pid in $pids; do
    while kill -0 "$pid" 2>/dev/null; do sleep 0.1; done
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM
fail() {
  echo "check-ime: FAIL: $*" >&2
  exit 1
}
waitfor() { # seconds command...: runs the command until it succeeds
  tries=$(($1 * 10))
  shift
  while ! "$@" >/dev/null 2>&1; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.1
  done
}

# A display that no one uses.
display=70
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids="$pids $!"
export DISPLAY=":$display"
waitfor 10 xwininfo -root || fail "Xvfb did not start"

# A session bus, a window manager and the input method, all with settings
# of their own: pinyin is the input method that activating switches to.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$XDG_CONFIG_HOME/fcitx5"
cat >"$XDG_CONFIG_HOME/fcitx5/profile" <<'PROFILE'
[Groups/0]
Name=Default
Default Layout=us
DefaultIM=pinyin

[Groups/0/Items/0]
Name=keyboard-us
Layout=

[Groups/0/Items/1]
Name=pinyin
Layout=

[GroupOrder]
0=Default
PROFILE
eval "$(dbus-launch --sh-syntax)"
pids="$pids $DBUS_SESSION_BUS_PID"
openbox >"$work/openbox.log" 2>&1 &
pids="$pids $!"
fcitx5 --disable=cloudpinyin >"$work/fcitx5.log" 2>&1 &
pids="$pids $!"
waitfor 20 fcitx5-remote || fail "fcitx5 did not start"

QT_IM_MODULE=fcitx build/app/kelvaro >"$work/kelvaro.log" 2>&1 &
pids="$pids $!"
waitfor 20 xdotool search --onlyvisible --name '^Kelvaro' || fail "the main window did not open"
window=$(xdotool search --onlyvisible --name '^Kelvaro' | head -n 1)
sleep 1
origin_x=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print $4}')
origin_y=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ {print $4}')

# Pixels that differ between two grabs of the same rectangle (WxH+X+Y).
changed_pixels() {
  compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 | cut -d' ' -f1 || true
}
grab() { # name rectangle
  import -window root -crop "$2" +repage "$work/$1.png"
}

# Each box by name, left and top in pixels at 96 dpi (from its twips), and
# the height of its first line of text.
check_box() {
  name=$1
  left=$((origin_x + $2))
  top=$((origin_y + $3))
  line=$4
  xdotool mousemove "$((left + 12))" "$((top + 12))" click 1
  sleep 0.3
  xdotool key ctrl+a Delete
  fcitx5-remote -o
  sleep 0.3
  # The caret stands at the text's start: 4 pixels in from the frame.
  caret_x=$((left + 6))
  region="240x$((line - 6))+$((caret_x + 2))+$((top + 6))"
  grab before "$region"
  xdotool type --delay 60 zhongguo
  sleep 0.5
  grab composing "$region"
  changed=$(changed_pixels before composing)
  [ "$changed" -gt 100 ] || fail "$name: the pinyin being composed is not shown at the caret ($changed pixels changed)"
  xdotool key space
  sleep 0.5
  printf '' | xclip -selection clipboard
  xdotool key ctrl+a ctrl+c
  sleep 0.3
  committed=$(xclip -o -selection clipboard 2>/dev/null || true)
  [ "$committed" = "中国" ] || fail "$name: committed \"$committed\", not 中国"

  # Compose at the end, click at the start, compose again: the candidate
  # window follows the caret to the start.
  xdotool key End
  xdotool type --delay 60 zhong
  sleep 0.3
  xdotool mousemove "$((left + 6))" "$((top + 12))" click 1
  sleep 0.3
  xdotool type --delay 60 zhong
  sleep 0.5
  popup=""
  for id in $(xdotool search --onlyvisible --class fcitx 2>/dev/null); do
    [ "$id" = "$window" ] || popup=$id
  done
  [ -n "$popup" ] || fail "$name: no candidate window"
  popup_x=$(xwininfo -id "$popup" | awk '/Absolute upper-left X/ {print $4}')
  popup_y=$(xwininfo -id "$popup" | awk '/Absolute upper-left Y/ {print $4}')
  caret_bottom=$((top + line))
  if [ "$popup_x" -lt $((caret_x - 40)) ] || [ "$popup_x" -gt $((caret_x + 40)) ] ||
    [ "$popup_y" -lt $((caret_bottom - 20)) ] || [ "$popup_y" -gt $((caret_bottom + 40)) ]; then
    fail "$name: candidate window at $popup_x,$popup_y, caret at $caret_x,$caret_bottom"
  fi
  xdotool key Escape
  sleep 0.2
  echo "check-ime: $name: composing shown ($changed pixels), 中国 committed, candidates at $popup_x,$popup_y for the caret at $caret_x,$caret_bottom"
}

# name, left, top (2040, 750 / 1920 / 8160 / 3360 twips), first line height
check_box Text1 136 50 30
check_box Text2 136 128 50
check_box Text4 136 544 50
check_box Text5 136 224 50
echo "check-ime: all four boxes take pinyin input"
