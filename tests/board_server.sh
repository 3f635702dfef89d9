# Sourced by the scripts that play the game on a real stravo-board: start_board
# [HOST:PORT] starts $board on a free loopback port (or the one given, to bring
# a stopped board back at its URL) with its database and data in $work, sets
# $board_pid and $url, and fails when it does not serve within ten seconds;
# stop_board stops it and waits for it to end; board_get PATH EXPRESSION
# prints the Python expression over the JSON answer `j` of GET $url/PATH
# (false when there is none); fail MESSAGE says what failed with the game's
# stderr, stops the game ($pid) and the board, and exits 1.
# Expects $board and $work.

fail() {
  echo "FAIL: $*"
  [ -f "$work/stderr.txt" ] && { echo "--- stderr.txt"; grep -v "^ALSA\|^AL lib" "$work/stderr.txt" | tail -n 20; }
  [ -n "${pid:-}" ] && kill "$pid" 2> /dev/null
  [ -n "${board_pid:-}" ] && kill "$board_pid" 2> /dev/null
  exit 1
}

start_board() {
  "$board" --listen "${1:-127.0.0.1:0}" --db "$work/board.sqlite" --data "$work/board-data" \
    --submit-interval-ms 0 > "$work/board.txt.log" 2>&1 &
  board_pid=$!
  url=""
  for _ in $(seq 100); do
    url=$(sed -n 's|^stravo-board: serving \(http://[0-9.:]*\)/$|\1|p' "$work/board.txt.log")
    [ -n "$url" ] && return 0
    sleep 0.1
  done
  fail "the board did not start: $(cat "$work/board.txt.log")"
}

stop_board() {
  kill "$board_pid" 2> /dev/null
  wait "$board_pid" 2> /dev/null
  board_pid=""
}

board_get() {
  python3 -c '
import json, sys, urllib.request
j = json.load(urllib.request.urlopen(sys.argv[1] + sys.argv[2], timeout=10))
print(eval(sys.argv[3]))' "$url" "$1" "$2"
}
