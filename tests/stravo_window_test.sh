#!/usr/bin/env bash
# Runs the real program the way a person does and reads what it leaves behind:
# the window while it runs, then the exit code, config.txt, log.txt and
# toptimes.dat.
#   1. An empty folder: no models, so start-up fails with its message and exit 0.
#   2. A folder with the generated data set and no config.txt: about a second
#      of running, then SIGTERM; the window's GL visual shows whether
#      multisampling was asked for.
#   3. The same folder, left through the menu's quit item.
# Usage: stravo_window_test.sh STRAVO DATAGEN PROBE plain|multisample
set -u
stravo=$1 datagen=$2 probe=$3 expect=$4
top=$(mktemp -d)
trap 'rm -rf "$top"' EXIT
fail() { echo "FAIL: $*"; [ -f stderr.txt ] && tail -n 5 stderr.txt; exit 1; }
title="StravoDemo1 by Velkor"
default_config=$'windowwidth 800\nwindowheight 600\nbitsperpixel 32\nrefreshrate 75\nfullscreen 0\nvsync 1\nfsaa 4\n\n---\n\nAccepted values for fsaa is 0,2,4 and possibly 6 or 8'

# Line number of the first log line matching a fixed string (0 when absent).
line_of() { grep -n -F -m 1 -- "$1" log.txt | cut -d: -f1 || true; }
expect_order() {  # expect_order TEXT... : each first appears after the one before
  local previous=0 at
  for text in "$@"; do
    at=$(line_of "$text")
    [ -n "$at" ] || fail "log.txt lacks '$text'"
    [ "$at" -gt "$previous" ] || fail "'$text' logged out of order"
    previous=$at
  done
}
# Every run is bounded, so a stuck program never outlives the test.
run() { STRAVO_BATCH=1 timeout -s KILL 120 "$stravo" "$@"; }
start() {  # starts the program in the current folder, waits for the end of start-up;
           # sets pid (to wait for), program (to signal) and window
  rm -f log.txt
  run 2> stderr.txt &
  pid=$!
  window=""
  for _ in $(seq 600); do
    program=$(pgrep -n -P "$pid")
    if [ -n "$program" ] && grep -qx "Main: Init done" log.txt 2> /dev/null; then
      window=$(xdotool search --pid "$program" --name "$title" 2> /dev/null | head -n 1)
      [ -n "$window" ] && return
    fi
    kill -0 "$pid" 2> /dev/null || break
    sleep 0.1
  done
  kill -KILL "$program" 2> /dev/null
  fail "no window titled '$title' after start-up"
}
press() {  # press KEY: held long enough for an update to see it
  xdotool keydown --window "$window" "$1"; sleep 1; xdotool keyup --window "$window" "$1" 2> /dev/null; sleep 1
}

echo "-- empty folder"
mkdir "$top/empty" && cd "$top/empty"
run 2> stderr.txt
code=$?
[ "$code" -eq 0 ] || fail "exit code $code when start-up fails"
[ "$(cat config.txt; echo x)" = "${default_config}x" ] || fail "config.txt is not the default text"
[ "$(head -n 1 log.txt)" = "Log started" ] || fail "log.txt does not begin with 'Log started'"
[ "$(tail -n 1 log.txt)" = "Error loading model" ] || fail "log.txt does not end with 'Error loading model'"
grep -qx "ERROR: Init() Failed." stderr.txt || fail "no 'Init() Failed.' message"

echo "-- data set, SIGTERM"
mkdir "$top/run" && cd "$top/run"
"$datagen" . > /dev/null || fail "the data generator failed"
start
sleep 1
visual=$("$probe" "$window")
geometry=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
kill -TERM "$program"
wait "$pid"
code=$?
[ "$code" -eq 0 ] || fail "exit code $code after SIGTERM"
[ "$geometry" = "800x600" ] || fail "window client size $geometry, expected 800x600"
[ "$(cat config.txt; echo x)" = "${default_config}x" ] || fail "config.txt is not the default text"
[ "$(head -n 1 log.txt)" = "Log started" ] || fail "log.txt does not begin with 'Log started'"
expect_order 'data\models\evo.rmd' 'data\models\hwheel.rmd' 'data\models\cone.rmd' 'data\models\tree1.rmd' \
  'data\models\track1.rmd' "Main: Building quadtree" 'data\models\skydome.rmd' "Main: Init done"
# Logging is off after start-up: a run ended by the quit event adds nothing.
[ "$(tail -n 1 log.txt)" = "Main: Init done" ] || fail "lines logged after start-up"
[ "$(stat -c %s toptimes.dat 2> /dev/null)" = 40 ] || fail "closing did not save the 40-byte best-times table"
messages=$(grep -c "Multisampling" stderr.txt)
case "$expect" in
  plain)
    [ "$visual" = "0 0" ] || fail "window visual has samples ($visual) in a build that must not ask for them"
    [ "$messages" -eq 0 ] || fail "multisampling message in a build that must not ask for it"
    ;;
  multisample)
    if [ "$visual" != "1 4" ]; then
      [ "$messages" -eq 1 ] || fail "no 4-sample visual ($visual) and no multisampling message"
    fi
    ;;
esac

echo "-- data set, quit from the menu"
start
xdotool windowfocus --sync "$window"
sleep 1
press Down
press Return
for _ in $(seq 300); do kill -0 "$pid" 2> /dev/null || break; sleep 0.1; done
kill -0 "$pid" 2> /dev/null && { kill -KILL "$program"; fail "the menu's quit item did not end the program"; }
wait "$pid"
code=$?
[ "$code" -eq 0 ] || fail "exit code $code after quitting from the menu"
expect_order "Main: Init done" "Main: Cleaning up" "Renderer: Cleaning up" "PhCar: " "Main: Running time="
tail -n 1 log.txt | grep -Eq '^Main: Running time=[0-9]+\.[0-9]{2}s, Total frames=[0-9]+, Average FPS=[0-9]+\.[0-9]{2} \(game=[0-9]+\.[0-9]{2}%, render=[0-9]+\.[0-9]{2}%\)$' ||
  fail "last line is not the run statistics: $(tail -n 1 log.txt)"
echo "ok: visual $visual; $(tail -n 1 log.txt)"
