#!/bin/sh
# Reads aloud as a child would hear it, on a virtual X display with the sound
# going to a file (an ALSA file sink): a double-click on the word-list entry
# 一只小鸟 writes audio, and screenshots taken while it speaks show the
# follow mark moving over the characters in order. Then, with the voice
# data's phonemes file cut short, Ctrl+R leaves the program running.
# Exits non-zero on the first failed check.
#
# CHECK_VOICE_DISPLAY: the first X display number tried (80 by default).
# CHECK_VOICE_SHOTS: a folder to keep the screenshots in (none by default).
set -eu
cd "$(dirname "$0")/.."
scripts/install-packages.sh xvfb xauth openbox xdotool x11-utils imagemagick python3-xlib \
  wmctrl espeak-ng-data
[ -x build/app/kelvaro ] && [ -x build/app/kelvaro-voice ] || scripts/build.sh >/dev/null

# Only the voice program links espeak-ng.
if ldd build/app/kelvaro | grep -q espeak; then
  echo "check-voice: FAIL: the window's program links espeak-ng" >&2
  exit 1
fi

. scripts/virtual_display.sh
fail() {
  if [ -s "$work/kelvaro.log" ]; then
    echo "check-voice: the end of the program's output:" >&2
    tail -n 20 "$work/kelvaro.log" >&2
  fi
  echo "check-voice: FAIL: $*" >&2
  exit 1
}
start_virtual_display "${CHECK_VOICE_DISPLAY:-80}"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
mkdir -p "$HOME"
openbox >"$work/openbox.log" 2>&1 &
pids="$pids $!"

# Sound goes to a file through ALSA's file plugin; no sound server is asked.
sound="$work/sound.raw"
cat >"$HOME/.asoundrc" <<ALSA
pcm.!default { type file slave.pcm "null" file "$sound" format "raw" }
ALSA
export PULSE_SERVER=unix:/nonexistent
# A runtime folder of its own: without one, the sound server's client library
# makes a folder in /tmp for every start, and after some starts finds every
# name it tries taken and fails (EEXIST) before ALSA is asked.
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# A program folder of its own whose word list begins with 一只小鸟.
program_dir="$work/program"
mkdir -p "$program_dir"
cp build/app/kelvaro build/app/kelvaro-voice "$program_dir/"
printf '一只小鸟\r\n中国\r\n' | iconv -f UTF-8 -t GBK >"$program_dir/小孩子感兴趣的词.txt"

start_program() {
  "$program_dir/kelvaro" >"$work/kelvaro.log" 2>&1 &
  program=$!
  pids="$pids $program"
  waitfor 60 xdotool search --onlyvisible --name '^Kelvaro' ||
    fail "the main window did not open ($(kill -0 "$program" 2>/dev/null && echo running || echo ended))"
  window=$(xdotool search --onlyvisible --name '^Kelvaro' | head -n 1)
  scripts/window_responds.py "$window" 60 || fail "the main window does not answer"
  origin_x=$(xwininfo -id "$window" | awk '/Absolute upper-left X/ {print $4}')
  origin_y=$(xwininfo -id "$window" | awk '/Absolute upper-left Y/ {print $4}')
}

# The left edge of the follow mark's colour in a screenshot, or nothing.
mark_left() {
  convert "$1" -alpha off -fill black +opaque "rgb(255,226,102)" -fill white \
    -opaque "rgb(255,226,102)" "$work/mask.png"
  [ "$(convert "$work/mask.png" -format '%[fx:maxima.r > 0]' info:)" = 1 ] || return 0
  convert "$work/mask.png" -format '%@' info: | sed -n 's/^[0-9]*x[0-9]*+\([0-9]*\)+.*/\1/p'
}
no_mark_in() { # rectangle
  import -window root -crop "$1" +repage "$work/now.png"
  [ -z "$(mark_left "$work/now.png")" ]
}

start_program
# Text1 and Text2 from their twips (2040, 750 and 1920; 8655 wide; 855 and
# 1095 high), the first entry of List1 at (120, 720).
text1="577x57+$((origin_x + 136))+$((origin_y + 50))"
boxes="577x151+$((origin_x + 136))+$((origin_y + 50))"
xdotool mousemove $((origin_x + 40)) $((origin_y + 58)) click 1 sleep 0.3 click --repeat 2 --delay 80 1
shots=0
while [ "$shots" -lt 14 ]; do
  # One grab for both boxes, so that both show the same moment.
  import -window root -crop "$boxes" +repage "$work/boxes.png"
  convert "$work/boxes.png" -crop 577x57+0+0 +repage "$work/text1-$shots.png"
  convert "$work/boxes.png" -crop 577x73+0+78 +repage "$work/text2-$shots.png"
  shots=$((shots + 1))
  sleep 0.15
done
if [ -n "${CHECK_VOICE_SHOTS:-}" ]; then
  mkdir -p "$CHECK_VOICE_SHOTS"
  cp "$work"/text1-*.png "$work"/text2-*.png "$CHECK_VOICE_SHOTS/"
fi
waitfor 5 test -s "$sound" || fail "no audio was written"
echo "check-voice: $(($(stat -c %s "$sound") / 2)) samples of audio written"

# The mark's left edge in the source box, shot by shot: it moves right only,
# over at least three characters, then goes.
positions=""
last=-1
distinct=0
i=0
while [ "$i" -lt "$shots" ]; do
  left=$(mark_left "$work/text1-$i.png")
  pinyin_left=$(mark_left "$work/text2-$i.png")
  positions="$positions ${left:--}/${pinyin_left:--}"
  if [ -n "$left" ]; then
    [ -n "$pinyin_left" ] || fail "shot $i marks a character but not its syllable"
    [ "$left" -ge "$last" ] || fail "the mark went back (shots:$positions)"
    [ "$left" -gt "$last" ] && distinct=$((distinct + 1))
    last=$left
  fi
  i=$((i + 1))
done
echo "check-voice: mark left edges in Text1/Text2 shot by shot:$positions"
[ "$distinct" -ge 3 ] || fail "the mark did not move over the characters (shots:$positions)"
waitfor 10 no_mark_in "$text1" || fail "the mark stayed after the voice ended"
wmctrl -i -c "$window"  # a close request, as the title bar's button sends
tries=100
while kill -0 "$program" 2>/dev/null; do
  tries=$((tries - 1))
  [ "$tries" -gt 0 ] || fail "the program did not end when its window closed"
  sleep 0.1
done
status=0
wait "$program" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status when its window closed"
waitfor 5 sh -c "! pgrep -f '$program_dir/[k]elvaro-voice'" ||
  fail "the voice program outlived the window"

# Voice data whose phonemes file is cut short crashes espeak-ng: the voice
# program, never the window.
data=$(dirname "$(find /usr/lib /usr/share -name phondata -path '*espeak-ng-data*' | head -n 1)")
mkdir -p "$work/damaged/espeak-ng-data"
for entry in "$data"/*; do ln -s "$entry" "$work/damaged/espeak-ng-data/"; done
rm "$work/damaged/espeak-ng-data/phondata"
head -c 10000 "$data/phondata" >"$work/damaged/espeak-ng-data/phondata"
export ESPEAK_DATA_PATH="$work/damaged"
start_program
xdotool mousemove $((origin_x + 300)) $((origin_y + 70)) click 1 sleep 0.3 key ctrl+r
sleep 2
xdotool key ctrl+r
kill -0 "$program" 2>/dev/null || fail "the program ended after Ctrl+R with damaged voice data"
scripts/window_responds.py "$window" 10 || fail "the main window stopped answering"
echo "check-voice: with damaged voice data Ctrl+R left the program running"
echo "check-voice: all checks passed"
