#!/bin/sh
# Types pinyin through a real input method into the text boxes, as a child
# would: fcitx5 with its pinyin engine on a virtual X display. Cleans up
# everything it started; exits non-zero on the first failed check.
#
# usage: scripts/check-ime.sh [CHECK...]   (all four when none is named)
#   typing    in each of the four boxes "zhongguo" and Space commit 中国, the
#             pinyin being composed shows at the caret, and after a click moves
#             the caret the candidate window opens at the new caret.
#   moves     in Text1, Text2 and Text5, holding paragraphs and an empty line,
#             End, Home and clicks that put the caret on a line feed leave the
#             program answering within seconds, and pinyin typed there is
#             committed at the caret.
#   closing   the main window closed while pinyin is being composed in Text1 -
#             by its title bar's close button, by Alt+F4 and by a close request
#             from wmctrl - ends the program with status 0.
#   valgrind  that close by Alt+F4 with the program under valgrind: no invalid
#             memory access.
# CHECK_IME_DISPLAY: the first X display number tried (70 by default).
# CHECK_IME_PROGRAM: the program checked (build/app/kelvaro, built if missing,
# by default), such as a sanitizer build's.
set -eu
cd "$(dirname "$0")/.."
checks=${*:-typing moves closing valgrind}
for check in $checks; do
  case $check in
    typing | moves | closing | valgrind) ;;
    *)
      echo "check-ime: no check named $check" >&2
      exit 2
      ;;
  esac
done
scripts/install-packages.sh xvfb xauth openbox xdotool x11-utils xclip dbus-x11 imagemagick \
  wmctrl python3-xlib valgrind fcitx5 fcitx5-chinese-addons fcitx5-frontend-qt6
program_file=${CHECK_IME_PROGRAM:-build/app/kelvaro}
[ -n "${CHECK_IME_PROGRAM:-}" ] || [ -x build/app/kelvaro ] || scripts/build.sh >/dev/null

. scripts/virtual_display.sh
fail() {
  if [ -s "$work/kelvaro.log" ]; then
    echo "check-ime: the end of the program's output:" >&2
    tail -n 40 "$work/kelvaro.log" >&2
  fi
  echo "check-ime: FAIL: $*" >&2
  exit 1
}
start_virtual_display "${CHECK_IME_DISPLAY:-70}"

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

# Starts the program, behind the command given if any (valgrind), and waits
# for its main window: sets program, window, origin_x and origin_y.
start_program() {
  QT_IM_MODULE=fcitx "$@" "$program_file" >"$work/kelvaro.log" 2>&1 &
  program=$!
  pids="$pids $program"
  waitfor 60 xdotool search --onlyvisible --name '^Kelvaro' || fail "the main window did not open"
  window=$(xdotool search --onlyvisible --name '^Kelvaro' | head -n 1)
  waitfor 10 framed || fail "the window manager did not frame the main window"
  origin_x=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print $4}')
  origin_y=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ {print $4}')
  # The program may be starting slowly: it answers once it takes input.
  scripts/window_responds.py "$window" 60 || fail "the main window does not answer"
}

# Conditions that the checks wait for, each with a time limit, instead of
# pausing: the window manager has framed the main window; pinyin is the active
# input method; the clipboard holds text; the input method shows a candidate
# window (popup, its id), or none.
framed() { xprop -id "$window" _NET_FRAME_EXTENTS 2>/dev/null | grep -q =; }
im_active() { [ "$(fcitx5-remote 2>/dev/null)" = 2 ]; }
clipboard_holds() { [ -n "$(timeout 5 xclip -o -selection clipboard 2>/dev/null)" ]; }
popup_shown() {
  popup=""
  for id in $(xdotool search --onlyvisible --class fcitx 2>/dev/null); do
    [ "$id" = "$window" ] || popup=$id
  done
  [ -n "$popup" ]
}
no_popup() { ! popup_shown; }

# Pixels that differ between two grabs of the same rectangle (WxH+X+Y).
changed_pixels() {
  compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1 | cut -d' ' -f1 || true
}
grab() { # name rectangle
  import -window root -crop "$2" +repage "$work/$1.png"
}

# Sets left, top and height of a box, in pixels on the screen at 96 dpi
# (from its twips: 2040, 750 / 1920 / 8160 / 3360 and 855 / 1095), text_top,
# where its first line of text starts (inside a 1-pixel frame and a 4-pixel
# margin), and line, the height of a line of its text (14.25 or 24 points).
box() {
  case $1 in
    Text1) set -- 136 50 57 27 ;;
    Text2) set -- 136 128 73 46 ;;
    Text4) set -- 136 544 73 46 ;;
    Text5) set -- 136 224 73 46 ;;
  esac
  left=$((origin_x + $1))
  top=$((origin_y + $2))
  height=$3
  text_top=$((top + 5))
  line=$4
}

# The whole text of the box that has the focus, through the clipboard; empty
# when the program does not hand it over in time.
box_text() {
  printf '' | xclip -selection clipboard 2>/dev/null
  xdotool key ctrl+a ctrl+c
  waitfor 5 clipboard_holds || true
  timeout 5 xclip -o -selection clipboard 2>/dev/null || true
}

# The whole text of the box that has the focus once it is the text expected
# (what the input method commits arrives in its own time), or as it is after
# five seconds.
box_text_when() { # expected
  polls=10
  while text=$(box_text) && [ "$text" != "$1" ] && [ "$polls" -gt 0 ]; do
    polls=$((polls - 1))
    sleep 0.5
  done
  printf '%s' "$text"
}

# Fails unless the program answers within seconds: a hung program is found
# by the time limit, not waited for.
answers() { # what was done
  scripts/window_responds.py "$window" 5 || fail "$1: the program no longer answers"
}

# Types pinyin into the box that has the focus, with the caret where it was
# put, and checks that the composing shows there (in the rectangle given,
# WxH+X+Y) within seconds.
compose() { # what rectangle pinyin
  fcitx5-remote -o
  waitfor 5 im_active || fail "$1: the input method did not switch to pinyin"
  grab before "$2"
  xdotool type --delay 60 "$3"
  tries=20
  while :; do
    sleep 0.5
    grab composing "$2"
    changed=$(changed_pixels before composing)
    [ "$changed" -le 100 ] || break
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || fail "$1: the pinyin being composed is not shown at the caret ($changed pixels changed)"
  done
}

check_box() { # name
  name=$1
  box "$name"
  xdotool mousemove "$((left + 12))" "$((top + 12))" click 1
  answers "$name: a click in the box"
  xdotool key ctrl+a Delete
  # The caret stands at the text's start: 4 pixels in from the frame.
  caret_x=$((left + 6))
  compose "$name" "240x$((line - 4))+$((caret_x + 2))+$((text_top + 2))" zhongguo
  xdotool key space
  committed=$(box_text_when 中国)
  [ "$committed" = "中国" ] || fail "$name: committed \"$committed\", not 中国"

  # Compose at the end, click at the start, compose again: the candidate
  # window follows the caret to the start.
  xdotool key End
  xdotool type --delay 60 zhong
  waitfor 5 popup_shown || fail "$name: no candidate window at the end of the text"
  xdotool mousemove "$((left + 6))" "$((top + 12))" click 1
  answers "$name: a click at the start while composing"
  xdotool type --delay 60 zhong
  # The candidate window comes to the new caret within five seconds.
  caret_bottom=$((text_top + line))
  polls=10
  while :; do
    popup_x=""
    if popup_shown; then
      popup_x=$(xwininfo -id "$popup" | awk '/Absolute upper-left X/ {print $4}')
      popup_y=$(xwininfo -id "$popup" | awk '/Absolute upper-left Y/ {print $4}')
      if [ "$popup_x" -ge $((caret_x - 40)) ] && [ "$popup_x" -le $((caret_x + 40)) ] &&
        [ "$popup_y" -ge $((caret_bottom - 20)) ] && [ "$popup_y" -le $((caret_bottom + 40)) ]; then
        break
      fi
    fi
    polls=$((polls - 1))
    if [ "$polls" -le 0 ]; then
      [ -n "$popup_x" ] || fail "$name: no candidate window"
      fail "$name: candidate window at $popup_x,$popup_y, caret at $caret_x,$caret_bottom"
    fi
    sleep 0.5
  done
  xdotool key Escape
  waitfor 5 no_popup || fail "$name: Escape left the candidate window open"
  echo "check-ime: $name: composing shown ($changed pixels), 中国 committed, candidates at $popup_x,$popup_y for the caret at $caret_x,$caret_bottom"
}

# Paragraphs and an empty line: 你好 ending at 2, the empty line's line feed
# at 3, 我们 from 4. All lines are short, so that a line is a paragraph.
moves_text='你好

我们'

# Puts the caret on a line feed of moves_text in a box by the keys or the
# click named, checks that the program still answers, and types zhongguo
# there: 中国 must go in at the caret, giving the text expected.
check_move() { # name move expected
  name=$1
  box "$name"
  # The text, pasted, and the box back at its first line.
  xdotool mousemove "$((left + 12))" "$((top + 12))" click 1
  answers "$name: a click in the box"
  printf '%s' "$moves_text" | xclip -selection clipboard 2>/dev/null
  xdotool key ctrl+a ctrl+v ctrl+Home
  answers "$name: pasting the text"
  # The first line's middle, a point 8 pixels into the empty line (which
  # shows at least that much), and far right of the text on a line.
  first=$((text_top + line / 2))
  empty=$((text_top + line + 8))
  right=$((left + 400))
  case $2 in
    End) xdotool key ctrl+Home End ;;
    Down-End) xdotool key ctrl+Home Down End ;;
    Home) xdotool key ctrl+End Up Home ;;
    click-after-a-line) xdotool mousemove "$right" "$first" click 1 ;;
    click-on-the-empty-line) xdotool mousemove "$right" "$empty" click 1 ;;
  esac
  answers "$name: $2"
  # The composing shows in the box, which may have scrolled to the caret.
  compose "$name: $2" "300x$((height - 2))+$((left + 1))+$((top + 1))" zhongguo
  xdotool key space
  answers "$name: $2, then zhongguo"
  text=$(box_text_when "$3")
  [ "$text" = "$3" ] || fail "$name: $2, then zhongguo: the text is \"$text\", not \"$3\""
  echo "check-ime: $name: $2 leaves the program answering; 中国 goes in at the caret"
}

check_moves() { # name
  check_move "$1" End '你好中国

我们'
  check_move "$1" Down-End '你好
中国
我们'
  check_move "$1" Home '你好
中国
我们'
  check_move "$1" click-after-a-line '你好中国

我们'
  check_move "$1" click-on-the-empty-line '你好
中国
我们'
}

# Waits for the program to end after the main window was told to close, and
# sets status to its exit status.
wait_for_end() { # how it was closed, seconds
  tries=$(($2 * 10))
  while kill -0 "$program" 2>/dev/null; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || fail "closed by $1 with pinyin being composed: the program did not end"
    sleep 0.1
  done
  status=0
  wait "$program" || status=$?
}

running() { [ -n "${program:-}" ] && kill -0 "$program" 2>/dev/null; }

# Composes nihao at the start of Text1 and closes the main window as a window
# manager does: by its title bar's close button, Alt+F4, or a close request
# from wmctrl. Starts the program first if it is not running.
close_composing() { # how
  how=$1
  running || start_program
  box Text1
  xdotool mousemove "$((left + 6))" "$((top + 12))" click 1
  answers "closing by $how: a click in Text1"
  compose "closing by $how" "240x$((line - 4))+$((left + 8))+$((text_top + 2))" nihao
  case $how in
    the-close-button)
      # The rightmost button of the title bar, which the frame has above the
      # window: 10 pixels in from the frame's right edge, halfway down it.
      # shellcheck disable=SC2046 # left, right, top and bottom: four numbers
      set -- $(xprop -id "$window" _NET_FRAME_EXTENTS | cut -d= -f2 | tr -d ,)
      width=$(xwininfo -id "$window" | awk '/Width:/ {print $2}')
      xdotool mousemove "$((origin_x + width + $2 - 10))" "$((origin_y - $3 / 2))" click 1
      ;;
    Alt+F4) xdotool key alt+F4 ;;
    wmctrl) wmctrl -i -c "$window" ;;
  esac
}

for check in $checks; do
  case $check in
    typing)
      running || start_program
      for name in Text1 Text2 Text4 Text5; do check_box "$name"; done
      echo "check-ime: all four boxes take pinyin input"
      ;;
    moves)
      running || start_program
      for name in Text1 Text2 Text5; do check_moves "$name"; done
      echo "check-ime: the caret on a line feed leaves the program answering and taking pinyin"
      ;;
    closing)
      for how in the-close-button Alt+F4 wmctrl; do
        close_composing "$how"
        wait_for_end "$how" 20
        [ "$status" -eq 0 ] || fail "closed by $how with pinyin being composed: the program ended with status $status"
        echo "check-ime: closed by $how with pinyin being composed: the program ended with status 0"
      done
      ;;
    valgrind)
      if running; then
        kill "$program"
        { wait "$program" || true; } 2>/dev/null
      fi
      log="$work/valgrind.log"
      start_program valgrind --log-file="$log" --num-callers=30
      close_composing Alt+F4
      wait_for_end "Alt+F4 under valgrind" 300
      invalid=$(grep -c 'Invalid \(read\|write\|free\)' "$log" || true)
      all=$(sed -n 's/.*ERROR SUMMARY: \([0-9]*\) errors.*/\1/p' "$log")
      if [ "$invalid" -ne 0 ]; then
        sed -n '/Invalid/,/^==[0-9]*== $/p' "$log" | head -n 60 >&2
        fail "closed by Alt+F4 under valgrind with pinyin being composed: valgrind reports $invalid invalid memory accesses (errors in all: $all)"
      fi
      [ "$status" -eq 0 ] || fail "closed by Alt+F4 under valgrind with pinyin being composed: the program ended with status $status"
      echo "check-ime: closed by Alt+F4 under valgrind with pinyin being composed: no invalid memory access (errors in all: $all), status 0"
      ;;
  esac
done
