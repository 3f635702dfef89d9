#!/usr/bin/env bash
# Builds stravo-board (Release) and runs a leaderboard on SQLite in board/run/:
# the database board.sqlite and the circuits it generates (board-data/) live
# there and survive rebuilds. Options go to stravo-board (--listen HOST:PORT,
# --workers N, ...; --help lists them); it serves http://127.0.0.1:8080/ by default.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build -j "$(nproc)" --target stravo-board

mkdir -p board/run
cd board/run
exec ../../build/stravo-board --db board.sqlite --data board-data "$@"
