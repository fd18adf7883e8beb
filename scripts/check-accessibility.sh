#!/bin/sh
# Reads the main window as a screen reader does, through AT-SPI: first the
# names of its boxes, word list and pictures, the press action of the pictures
# and that nothing unseen is offered (scripts/accessible_names.py); then
# every text query at every offset of a sample text in the text boxes and
# outside it, each within a time limit, compared with the stock text box (the
# queries and what is expected are in scripts/accessibility_walk.py). Runs on
# a virtual X display with a session bus and an accessibility bus of its own;
# cleans up everything it started; exits non-zero naming the first failure.
#
# CHECK_ACCESSIBILITY_DISPLAY: the first X display number tried (87 by default).
set -eu
cd "$(dirname "$0")/.."
scripts/install-packages.sh xvfb dbus-x11 at-spi2-core python3-pyatspi
[ -x build/app/kelvaro ] || { scripts/setup-debian.sh && scripts/build.sh >/dev/null; }

work=$(mktemp -d)
pids=""
cleanup() {
  for pid in $pids; do kill "$pid" 2>/dev/null || true; done
  for pid in $pids; do
    tries=50
    while kill -0 "$pid" 2>/dev/null && [ "$tries" -gt 0 ]; do
      tries=$((tries - 1))
      sleep 0.1
    done
  done
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' HUP INT PIPE TERM
fail() {
  echo "check-accessibility: FAIL: $*" >&2
  exit 1
}

# A display that no one uses. Xvfb names its display on descriptor 3 once it
# serves it; when another server has taken that display, Xvfb exits and the
# next one is tried.
display=${CHECK_ACCESSIBILITY_DISPLAY:-87}
while :; do
  [ "$display" -lt 100 ] || fail "no free X display: $(cat "$work/xvfb.log")"
  if [ ! -e "/tmp/.X11-unix/X$display" ] && [ ! -e "/tmp/.X$display-lock" ]; then
    : >"$work/display"
    Xvfb ":$display" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset -displayfd 3 \
      3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    pids="$pids $xvfb"
    until [ -s "$work/display" ] || ! kill -0 "$xvfb" 2>/dev/null; do sleep 0.1; done
    [ -s "$work/display" ] && break
  fi
  display=$((display + 1))
done
export DISPLAY=":$display"

# A session bus and the accessibility bus beside it, with settings and
# sockets of their own.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
eval "$(dbus-launch --sh-syntax)"
pids="$pids $DBUS_SESSION_BUS_PID"
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/at-spi.log" 2>&1 &
pids="$pids $!"

# Debian's Python, which has the AT-SPI bindings. Each query has a time limit
# of its own, the names and the whole walk these.
status=0
timeout 60 /usr/bin/python3 scripts/accessible_names.py build/app/kelvaro "$work/kelvaro.log" ||
  status=$?
[ "$status" -ne 124 ] || fail "reading the names took more than 60 s"
[ "$status" -eq 0 ] || fail "see the first failure of the names above"
timeout 300 /usr/bin/python3 scripts/accessibility_walk.py build/app/kelvaro "$work/kelvaro.log" ||
  status=$?
[ "$status" -ne 124 ] || fail "the walk took more than 300 s"
if [ "$status" -ne 0 ]; then
  # What the program said, but for the stock box's warning at each position
  # out of range that it is given.
  grep -v '^QTextCursor::setPosition: Position' "$work/kelvaro.log" | tail -n 20 >&2 || true
  fail "see the first failure above"
fi
