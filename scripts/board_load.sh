#!/usr/bin/env bash
# board_load.sh BUILD [SECONDS]: measures a stravo-board on this machine.
# Makes the default circuit and an autopilot lap with BUILD's tools, then runs
# BUILD/stravo-board on a fresh SQLite file on 127.0.0.1 and
#   1. submits that proof from 4 players as fast as it is accepted, with 1 and
#      with 2 verification workers: proofs verified and stored a second;
#   2. with 2 workers, 50 readers fetch the circuit's board page while 2 players
#      submit: the page's p50 and p99 latency.
# Each phase lasts SECONDS (default 10); everything it started ends with it.
set -euo pipefail
build=$(cd "${1:?usage: board_load.sh BUILD [SECONDS]}" && pwd)
seconds=${2:-10}
work=$(mktemp -d /tmp/stravo_board_load_XXXXXX)
board_pid=""

cleanup() {
  if [ -n "$board_pid" ]; then kill "$board_pid" 2>/dev/null || true; wait "$board_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

"$build/stravo-datagen" "$work/laps" > /dev/null
"$build/stravo-sim" --dir "$work/laps" --autopilot > /dev/null
proof=$work/laps/ghosts/best.ghost

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

start_board() {  # start_board WORKERS
  rm -f "$work"/board.sqlite*
  "$build/stravo-board" --listen "127.0.0.1:$port" --db "$work/board.sqlite" --data "$work/data" \
    --workers "$1" --submit-interval-ms 0 --verify-queue 1000 > "$work/board.log" 2>&1 &
  board_pid=$!
  for _ in $(seq 100); do
    curl -sf "http://127.0.0.1:$port/healthz" > /dev/null 2>&1 && break
    sleep 0.1
  done
  # The first lap makes the circuit's data set; it is not part of the measure.
  "$build/stravo-board-load" --port "$port" --proof "$proof" --submitters 1 --readers 0 --seconds 1 \
    --max-requests 1 > /dev/null
}

stop_board() {
  kill "$board_pid"
  wait "$board_pid" 2>/dev/null || true
  board_pid=""
}

for workers in 1 2; do
  start_board "$workers"
  echo "== $workers verification worker(s), 4 submitters"
  "$build/stravo-board-load" --port "$port" --proof "$proof" --submitters 4 --readers 0 --seconds "$seconds"
  stop_board
done

start_board 2
echo "== 50 readers of the board page while 2 players submit (2 workers)"
"$build/stravo-board-load" --port "$port" --proof "$proof" --submitters 2 --readers 50 --seconds "$seconds"
stop_board
