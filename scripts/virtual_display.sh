# Shared by the checks that drive the program on a virtual X display. Sourcing
# it makes a scratch folder, work, and a list of processes, pids, that are
# stopped (and the folder removed) when the check ends; the check defines
# fail, which reports and exits.
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

# waitfor SECONDS COMMAND...: runs the command every tenth of a second until
# it succeeds; fails after SECONDS.
waitfor() {
  tries=$(($1 * 10))
  shift
  while ! "$@" >/dev/null 2>&1; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.1
  done
}

# start_virtual_display FIRST: starts Xvfb on the first free display number
# from FIRST, at 96 dpi, and exports DISPLAY.
start_virtual_display() {
  display=$1
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
  done
  # -noreset: a server that resets when its last client leaves refuses the
  # clients that come during the reset.
  Xvfb ":$display" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -noreset >"$work/xvfb.log" 2>&1 &
  pids="$pids $!"
  export DISPLAY=":$display"
  waitfor 10 xwininfo -root || fail "Xvfb did not start"
}
