#!/usr/bin/env bash
# Measures the game's average frame rate as a player sees it: the real program
# in a fresh data set (default config.txt: 800 x 600, fsaa 4) under Xvfb with
# Mesa's software GL, a drive at full throttle from the menu, then quit through
# the menu so the run statistics reach log.txt. Prints that line.
# Usage: scripts/game_fps.sh STRAVO DATAGEN WORKDIR [DRIVE_SECONDS [CONFIG [GAME_OPTION...]]]
# CONFIG, when given and not empty, is copied in as config.txt (e.g. one with
# fsaa 0); the options after it go to the game.
set -uo pipefail

stravo=$(realpath "$1")
datagen=$(realpath "$2")
work=$3
drive=${4:-40}
config=${5:-}
shift $(($# < 5 ? $# : 5))

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$stravo" "$datagen" "$work" "$drive" "$config" "$@"
fi

rm -rf "$work"
mkdir -p "$work"
"$datagen" "$work" > /dev/null || { echo "FAIL: no data set"; exit 1; }
[ -n "$config" ] && cp "$config" "$work/config.txt"
cd "$work" || exit 1

press() {
  xdotool keydown "$1"
  sleep 2
  xdotool keyup "$1"
  sleep 2
}

STRAVO_BATCH=1 "$stravo" "$@" > stdout.txt 2> stderr.txt &
pid=$!
window=$(timeout 60 xdotool search --sync --onlyvisible --name "StravoDemo1 by Velkor" 2> /dev/null | head -n 1)
[ -n "$window" ] || { echo "FAIL: no window"; kill "$pid"; exit 1; }
xdotool mousemove --window "$window" 400 300
sleep 6
press Return          # the drive begins
xdotool keydown Up
sleep "$drive"
xdotool keyup Up
press Escape
press Down
press Return          # quit: the statistics are logged
for _ in $(seq 1 120); do
  kill -0 "$pid" 2> /dev/null || break
  sleep 0.5
done
kill -0 "$pid" 2> /dev/null && { echo "FAIL: still running"; kill "$pid"; exit 1; }
grep "^Main: Running time=" log.txt || { echo "FAIL: no statistics line"; exit 1; }
