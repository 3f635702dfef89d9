#!/usr/bin/env bash
# A player's session with the real program under the X display of ./test.sh:
# the menu shows, Enter starts the drive, holding Up drives, the four cameras
# are tried, Escape opens the menu, Down and Enter quit. Real X key events come
# from xdotool; screenshots of the menu and of each camera are kept in the
# artefact folder. Then the log and the best-times file are checked.
# Usage: game_e2e_test.sh STRAVO DATAGEN WORKDIR ARTEFACTS
set -uo pipefail

stravo=$1
datagen=$2
work=$3
artefacts=$4
title="StravoDemo1 by Velkor"

fail() {
  echo "FAIL: $*"
  if [ -f "$work/log.txt" ]; then
    echo "--- log.txt (last 40 lines)"
    tail -n 40 "$work/log.txt"
    echo
  fi
  [ -f "$work/stderr.txt" ] && { echo "--- stderr"; tail -n 20 "$work/stderr.txt"; }
  [ -n "${pid:-}" ] && kill "$pid" 2> /dev/null
  exit 1
}

# shellcheck source=session_setup.sh
source "$(dirname "$0")/session_setup.sh"

open_window
shoot menu 60

# The trip statistics sample only from the 376th update on, so the run must
# last that many frames. F12 logs the frames drawn while it is held: that gives
# the frame rate, and with it how long to keep driving.
press F12
frames=$(grep -c '^Renderer: \*\*\* Rendering start$' log.txt)
drive=$(awk -v f="$frames" -v h="$hold" 'BEGIN { fps = f / h; s = (fps > 0) ? int(450 / fps) + 1 : 9999;
                                             print (s < 12) ? 12 : s }')
echo "about $frames frames in $hold s: driving for $drive s"
[ "$drive" -le 240 ] || fail "$frames frames in $hold s is too slow to reach the statistics sampling"

press Return                 # restart: the drive begins
started=$(date +%s)
xdotool keydown Up           # full throttle from here on
sleep 4
for camera in 1 2 3 4; do
  press "$camera"            # the press, then a frame drawn in that mode
  shoot "camera$camera"
done
press 3                      # back to the chase camera for the rest of the drive
while [ $(( $(date +%s) - started )) -lt "$drive" ]; do sleep 1; done
xdotool keyup Up
shoot drive

press Escape                 # the menu again, cursor still on restart
press Down                   # quit
press Return

for _ in $(seq 1 120); do
  kill -0 "$pid" 2> /dev/null || break
  sleep 0.5
done
if kill -0 "$pid" 2> /dev/null; then
  fail "the program did not end after quitting from the menu"
fi
wait "$pid"
echo "program exit status $?"
pid=

log=log.txt
[ -f "$log" ] || fail "no log.txt"
cp "$log" "$artefacts/log.txt"
for line in "Top speed:         " "Acceleration max:  " "Acceleration min: " "Side force max:    " \
            "Side force min:   " "Distance travelled:  " "Main: Cleaning up" "PhCar: Max downforce " \
            "Main: Running time="; do
  grep -q "^$line" "$log" || fail "log.txt lacks a line starting \"$line\""
done
top=$(sed -n 's/^Top speed: *\([0-9.]*\)kph.*/\1/p' "$log")
distance=$(sed -n 's/^Distance travelled: *\([0-9.]*\)m.*/\1/p' "$log")
awk -v v="$top" 'BEGIN { exit !(v > 0) }' || fail "top speed $top is not above 0"
awk -v v="$distance" 'BEGIN { exit !(v > 0) }' || fail "distance $distance is not above 0"
size=$(stat -c %s toptimes.dat 2> /dev/null || echo missing)
[ "$size" = 40 ] || fail "toptimes.dat is $size bytes, not 40"

grep "^Main: Running time=" "$log"
echo "top speed $top kph, distance $distance m"
echo "PASS"
