#!/usr/bin/env bash
# OutGauge from the real program under the X display of ./test.sh, with X key
# events from xdotool: a bad address gives one stderr line and the game runs;
# with a listener on 127.0.0.1 nothing is sent while the menu shows, holding Up
# after Enter sends 96-byte packets a tick apart with the id and a rising
# speed, and opening the menu again stops them.
# Usage: outgauge_game_test.sh STRAVO DATAGEN LISTENER WORKDIR ARTEFACTS
set -uo pipefail

stravo=$1
datagen=$2
listener=$3
work=$4
artefacts=$5
title="StravoDemo1 by Velkor"

fail() {
  echo "FAIL: $*"
  [ -f "$work/stderr.txt" ] && { echo "--- stderr"; tail -n 20 "$work/stderr.txt"; }
  [ -f "$work/packets.txt" ] && { echo "--- packets (last 5 of $(wc -l < "$work/packets.txt"))"; tail -n 5 "$work/packets.txt"; }
  [ -n "${pid:-}" ] && kill "$pid" 2> /dev/null
  [ -n "${lpid:-}" ] && kill "$lpid" 2> /dev/null
  exit 1
}

# shellcheck source=session_setup.sh
source "$(dirname "$0")/session_setup.sh"

# Starts the game with the given options and waits for its window.
start_game() {
  STRAVO_BATCH=1 "$stravo" "$@" > "$work/stdout.txt" 2> "$work/stderr.txt" &
  pid=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "$title" 2> /dev/null | head -n 1)
  [ -n "$window" ] || fail "no window titled \"$title\" (options $*)"
  xdotool mousemove --window "$window" 400 300
  xdotool windowfocus "$window" 2> /dev/null
}

# Ends the game as closing the window does (SIGTERM posts the quit event).
stop_game() {
  kill -TERM "$pid"
  for _ in $(seq 1 60); do
    kill -0 "$pid" 2> /dev/null || break
    sleep 0.5
  done
  kill -0 "$pid" 2> /dev/null && fail "the program did not end on SIGTERM"
  wait "$pid"
  pid=
}

for bad in "--outgauge-id seven" "--outgauge-rate 0"; do
  # shellcheck disable=SC2086
  "$stravo" $bad > /dev/null 2>&1
  [ $? -eq 2 ] || fail "$bad did not end with exit code 2"
done

# A name that does not resolve: one line on stderr, and the game runs on.
start_game --outgauge nosuchhost.invalid:9000
sleep "$hold"
kill -0 "$pid" 2> /dev/null || fail "the game ended after a bad address"
# The sound library may add its own lines when there is no sound card.
[ "$(grep -c OutGauge "$work/stderr.txt")" -eq 1 ] || fail "a bad address gave not one stderr line"
grep -q "^stravo: OutGauge: .*nosuchhost.invalid:9000" "$work/stderr.txt" || fail "the stderr line does not name the address"
grep OutGauge "$work/stderr.txt"
stop_game

"$listener" "$work/port.txt" "$work/packets.txt" &
lpid=$!
for _ in $(seq 1 50); do [ -s "$work/port.txt" ] && break; sleep 0.1; done
port=$(cat "$work/port.txt" 2> /dev/null) || fail "the listener gave no port"

start_game --outgauge "127.0.0.1:$port" --outgauge-id 9
sleep "$(awk -v h="$hold" 'BEGIN { print 2 * h }')"
kill -0 "$pid" 2> /dev/null || fail "the program ended on its own"
[ ! -s "$work/packets.txt" ] || fail "packets were sent while the menu showed"

press Return                 # restart: the drive begins
xdotool keydown Up
sleep 6
xdotool keyup Up
import -window "$window" "$artefacts/drive.png" 2> /dev/null
press Escape                 # the menu again: the packets stop
sent=$(wc -l < "$work/packets.txt")
sleep "$hold"
[ "$(wc -l < "$work/packets.txt")" -eq "$sent" ] || fail "packets were sent after the menu opened"
stop_game
kill "$lpid"
wait "$lpid" 2> /dev/null
lpid=
grep -q OutGauge "$work/stderr.txt" && fail "the telemetry reported a failure"
cp "$work/packets.txt" "$artefacts/"

# size time car flags gear speed rpm id
awk 'BEGIN { bad = 0 }
     $1 != 96 || $3 != "STRV" || $4 != 16384 || $8 != 9 { bad++ }
     NR > 1 && !($2 - t == 13 || $2 - t == 14) { steps++ }
     { t = $2; if ($6 > top) top = $6; if ($5 > gear) gear = $5 }
     END { printf "%d packets, %d malformed, %d time steps not 13 or 14 ms, top %.1f m/s, highest gear %d\n",
                  NR, bad, steps, top, gear
           exit !(NR >= 75 && bad == 0 && steps == 0 && top > 5 && gear >= 2) }' "$work/packets.txt" \
  || fail "the packets are not those of a drive"
echo "PASS"
