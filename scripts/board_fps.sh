#!/usr/bin/env bash
# The frame rate with a board that misbehaves against the same drive without
# one: scripts/game_fps.sh once without --board, once on a loopback board that
# never answers and once on one that answers nonsense (tests/board/fake_board.py).
# Prints each run's statistics line and its frame rate against the run without
# a board. The board's exchanges run on a thread of their own, so the frame
# rate should stay within 10% of the run without one.
# Usage: scripts/board_fps.sh STRAVO DATAGEN WORKDIR [DRIVE_SECONDS]
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
stravo=$(realpath "$1")
datagen=$(realpath "$2")
work=$(realpath -m "$3")
drive=${4:-30}
rm -rf "$work"
mkdir -p "$work"
export XDG_CONFIG_HOME=$work/config

# NAME [GAME_OPTION...]: one drive; its average frame rate in $work/NAME.fps.
fps() {
  local name=$1
  shift
  "$top/scripts/game_fps.sh" "$stravo" "$datagen" "$work/$name" "$drive" "" "$@" > "$work/$name.txt"
  sed -n 's/.*Average FPS=\([0-9.]*\).*/\1/p' "$work/$name.txt" > "$work/$name.fps"
  echo "$name: $(cat "$work/$name.txt")"
}

fps none
base=$(cat "$work/none.fps")
for mode in hang garbage; do
  python3 "$top/tests/board/fake_board.py" "$mode" $((drive + 60)) > "$work/$mode.url" &
  fake=$!
  for _ in $(seq 50); do
    [ -s "$work/$mode.url" ] && break
    sleep 0.1
  done
  fps "$mode" --board "$(cat "$work/$mode.url")" --name bench
  kill "$fake" 2> /dev/null
  wait "$fake" 2> /dev/null
  awk -v b="$base" -v m="$(cat "$work/$mode.fps")" -v n="$mode" \
    'BEGIN { printf "%s: %.1f%% of the frame rate without a board\n", n, 100 * m / b }'
done
