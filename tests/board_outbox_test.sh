#!/usr/bin/env bash
# The game's own lap with its board down, under the X display of ./test.sh:
# `stravo --bench --board URL` drives the autopilot's run from the menu's
# restart on a board that was started and stopped again (nothing answers at
# its URL). The clean lap waits in outbox/, the board's silence is said once
# on stderr and the game quits normally. With the board back at the same URL
# the next start of the game sends the lap, and the board's API ranks it.
# Usage: board_outbox_test.sh STRAVO STRAVO_SIM DATAGEN STRAVO_BOARD WORKDIR ARTEFACTS
set -uo pipefail

stravo=$1
sim=$2
datagen=$3
board=$4
work=$5
artefacts=$6
title="StravoDemo1 by Velkor"

# shellcheck source=board_server.sh
source "$(dirname "$0")/board_server.sh"
# shellcheck source=session_setup.sh
source "$(dirname "$0")/session_setup.sh"
export XDG_CONFIG_HOME=$work/config

start_board
stop_board

started=$(date +%s.%N)
STRAVO_BATCH=1 timeout 240 "$stravo" --bench --board "$url" --name carol --bench-out bench-out \
  > bench.txt 2> "$work/stderr.txt"
code=$?
ended=$(date +%s.%N)
[ "$code" -eq 0 ] || fail "the drive with the board down ended with $code: $(cat bench.txt)"
grep -q "^bench: " bench.txt || fail "the drive did not finish: $(cat bench.txt)"
said=$(grep -c "board: no answer from the board" "$work/stderr.txt")
[ "$said" -eq 1 ] || fail "the board's silence was said $said times"
shopt -s nullglob
waiting=(outbox/lap-*.proof)
[ "${#waiting[@]}" -eq 1 ] || fail "${#waiting[@]} laps wait in the outbox"
"$sim" --dir . --verify-ghost "${waiting[0]}" > verified.txt 2> verify-err.txt || fail "the waiting lap: $(cat verify-err.txt)"
grep -q "^ghost verified: lap .* clean$" verified.txt || fail "the waiting lap is not clean: $(cat verified.txt)"
# The proof's name holds the millisecond it was written, bench.csv is written
# once the board's round has ended: the time the game gave the board.
proof=$(basename "${waiting[0]}")
gave_up=$(awk -v w="$(echo "$proof" | cut -d- -f2)" -v a="$(stat -c %.3Y bench-out/bench.csv)" \
  'BEGIN { printf "%.3f", a - w / 1000 }')
ran=$(awk -v s="$started" -v e="$ended" 'BEGIN { printf "%.1f", e - s }')
echo "board down: $proof waits ($(stat -c %s "${waiting[0]}") bytes, $(cut -d' ' -f3- verified.txt));" \
  "the round gave up $gave_up s after the lap; the game ran $ran s and quit with 0"
grep "board:" "$work/stderr.txt"

start_board "${url#http://}"
open_window --board "$url" --name carol
for _ in $(seq 60); do
  [ -e "${waiting[0]}" ] || break
  sleep 0.5
done
[ -e "${waiting[0]}" ] && fail "the lap still waits with the board back"
kill "$pid"
wait "$pid" 2> /dev/null
pid=""
grep "board:" "$work/stderr.txt"
ranked=$(board_get /api/v1/boards/default/plain \
  '" ".join("%s:%d:%s" % (lap["player"], lap["rank"], lap["time_text"]) for lap in j["laps"])') || fail "the board's API did not answer"
stop_board
echo "on the board: $ranked"
case "$ranked" in
  carol:1:*) ;;
  *) fail "carol's lap is not ranked first: $ranked" ;;
esac
echo "PASS"
