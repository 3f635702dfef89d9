#!/usr/bin/env bash
# The program's sound heard as a player hears it: OpenAL Soft is told to write
# its mix to a wave file instead of a sound card, the program runs under the X
# display of ./test.sh with a generated data set, the menu shows for a while,
# Enter starts the drive, Up is held, Escape brings the menu back and the menu
# quits. audio_probe then checks the capture: silent behind the menu, the
# engine note rising, no clipping. The capture is kept in the artefact folder.
# Usage: game_audio_test.sh STRAVO DATAGEN AUDIO_PROBE WORKDIR ARTEFACTS
set -uo pipefail

stravo=$1
datagen=$2
probe=$3
work=$4
artefacts=$5
title="StravoDemo1 by Velkor"

# A program stuck in a slow frame may not heed SIGTERM: it gets SIGKILL after a grace period.
stop_program() {
  [ -n "${pid:-}" ] || return
  kill "$pid" 2> /dev/null
  for _ in 1 2 3 4 5; do
    kill -0 "$pid" 2> /dev/null || break
    sleep 1
  done
  kill -9 "$pid" 2> /dev/null
  pid=
}
trap stop_program EXIT

fail() {
  echo "FAIL: $*"
  [ -f "$work/stderr.txt" ] && { echo "--- stderr"; tail -n 20 "$work/stderr.txt"; }
  stop_program
  exit 1
}

# shellcheck source=session_setup.sh
source "$(dirname "$0")/session_setup.sh"

cat > alsoft.conf << CONF
[general]
drivers = wave
channels = mono
sample-type = int16
dither = false
frequency = 44100

[wave]
file = $work/capture.wav
CONF
export ALSOFT_CONF=$work/alsoft.conf ALSOFT_DRIVERS=wave
# A small window without multisampling keeps software GL frames quick.
printf 'windowwidth 320\nwindowheight 240\nbitsperpixel 32\nrefreshrate 75\nfullscreen 0\nvsync 0\nfsaa 0\n' > config.txt

# Keys are held long enough for a few frames to see them (set from the frame
# rate below); the menu acts once per press however long the key is held.
hold=1
press() {
  xdotool keydown "$1"
  sleep "$hold"
  xdotool keyup "$1"
  sleep 0.5
}

# True once the window shows a picture rather than a blank.
drawn() {
  import -window "$window" shot.png 2> /dev/null || return 1
  local spread
  spread=$(convert shot.png -colorspace Gray -format '%[fx:standard_deviation]' info:)
  awk -v s="$spread" 'BEGIN { exit !(s > 0.02) }'
}

STRAVO_BATCH=1 "$stravo" > "$work/stdout.txt" 2> "$work/stderr.txt" &
pid=$!

window=$(timeout 60 xdotool search --sync --onlyvisible --name "$title" 2> /dev/null | head -n 1)
[ -n "$window" ] || fail "no window titled \"$title\""
# Without a window manager the keyboard goes to the window under the pointer.
xdotool mousemove --window "$window" 160 120
xdotool windowfocus "$window" 2> /dev/null
for _ in $(seq 1 120); do
  grep -q "Main: Init done" log.txt 2> /dev/null && break
  kill -0 "$pid" 2> /dev/null || fail "the program ended on its own"
  sleep 0.5
done
grep -q "Main: Init done" log.txt 2> /dev/null || fail "start-up did not finish"
for _ in $(seq 1 90); do
  drawn && break
  sleep 1
done
drawn || fail "no frame was drawn"
# F12 logs the frames drawn while it is held: that gives the frame rate.
press F12
frames=$(grep -c '^Renderer: \*\*\* Rendering start$' log.txt)
hold=$(awk -v f="$frames" 'BEGIN { h = (f > 0) ? 3 / f : 8; print (h < 1) ? 1 : h }')
echo "$frames frames in a second: keys are held $hold s"
sleep 3                      # more of the menu, which must be silent
kill -0 "$pid" 2> /dev/null || fail "the program ended on its own"

press Return                 # restart: the drive begins
xdotool keydown Up
sleep 6
xdotool keyup Up
press Escape                 # the menu again: silent
sleep 2
press Down                   # quit
press Return

for _ in $(seq 1 60); do
  kill -0 "$pid" 2> /dev/null || break
  sleep 0.5
done
# Quitting is the player-session test's business; here a program still busy
# with a slow frame is stopped, and the capture read as far as it was written.
if kill -0 "$pid" 2> /dev/null; then
  echo "note: the program was still running after quitting from the menu; stopped"
  stop_program
else
  wait "$pid"
  pid=
fi

[ -f capture.wav ] || fail "no capture: the program opened no sound device"
cp capture.wav "$artefacts/capture.wav"
"$probe" capture.wav 3 || fail "the captured sound is not right (kept in $artefacts/capture.wav)"
echo "PASS"
