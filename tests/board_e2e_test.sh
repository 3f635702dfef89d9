#!/usr/bin/env bash
# The game on a real stravo-board under the X display of ./test.sh: alice's
# autopilot lap and bob's faster one are on the board (sent by stravo-sim);
# the game in alice's folder, with the board named in board.txt, shows
# BOARD #2 / 2 under the timing aids (T), keeps bob's checked lap, drives it
# as the rival's ghost (G twice, labelled RIVAL) and goes on when the board is
# stopped mid-session; bob's name, taken there, reads BOARD NAME TAKEN; last
# alice drives today's daily circuit on the board (screenshot daily-seed-DATE).
# Usage: board_e2e_test.sh STRAVO STRAVO_SIM DATAGEN STRAVO_BOARD WORKDIR ARTEFACTS
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

best_lap_by_autopilot
"$sim" --dir . --board "$url" --name alice --submit ghosts/best.ghost > alice.txt || fail "alice: $(cat alice.txt)"
mkdir bob && cp -r data bob/
"$sim" --dir bob --autopilot --ticks 13000 > bob-drive.txt || fail "bob's drive"
XDG_CONFIG_HOME=$work/config-bob "$sim" --dir bob --board "$url" --name bob --submit bob/ghosts/best.ghost > bob.txt || fail "bob: $(cat bob.txt)"
grep -q "bob rank 1 / 2" bob.txt || fail "bob does not lead: $(cat bob.txt)"

echo "$url" > board.txt
open_window
press Return  # the drive begins
press t       # the timing aids, with the board's rank under them
for _ in $(seq 40); do
  [ -f ghosts/rival.ghost ] && break
  sleep 0.5
done
[ -f ghosts/rival.ghost ] || fail "no rival's lap kept"
"$sim" --dir . --verify-ghost ghosts/rival.ghost | grep -q "^ghost verified: lap 1:17.62" ||
  fail "the rival's lap is not bob's"
shoot board-rank 10

# BOARD #2 / 2 is drawn in amber at the top left, where nothing else is.
amber=$(convert "$artefacts/board-rank.png" -crop 220x40+0+100 +repage -fuzz 12% -fill white \
  -opaque "rgb(255,217,77)" -fill black +opaque white -format '%[fx:mean]' info:)
awk -v a="$amber" 'BEGIN { exit !(a > 0.01) }' || fail "no rank at the top left (amber share $amber)"
echo "rank drawn: amber share $amber"

# G goes on from the player's own best to the rival's lap; over the line the
# rival's ghost starts beside the car, labelled RIVAL at the top.
press g
press g
xdotool keydown Up
sleep 3.5
xdotool keyup Up
xdotool keydown Down
sleep 2.5
xdotool keyup Down
shoot rival-ghost
label=$(convert "$artefacts/rival-ghost.png" -crop 140x22+330+0 +repage -fuzz 10% -fill white \
  -opaque "rgb(204,230,255)" -fill black +opaque white -format '%[fx:mean]' info:)
awk -v a="$label" 'BEGIN { exit !(a > 0.01) }' || fail "no ghost label at the top (share $label)"
echo "ghost label drawn: share $label"

stop_board
sleep 3
kill -0 "$pid" 2> /dev/null || fail "the game ended with the board"
shoot board-gone
kill "$pid" 2> /dev/null
wait "$pid" 2> /dev/null

# Bob's name, taken on this board by the other bob: said on stderr and on the HUD.
start_board "${url#http://}"
open_window --name bob
press Return
press t
for _ in $(seq 40); do
  grep -q "the name bob is taken" "$work/stderr.txt" && break
  sleep 0.5
done
grep -q "the name bob is taken" "$work/stderr.txt" || fail "a taken name is not said"
shoot name-taken 10
kill "$pid"
wait "$pid" 2> /dev/null

# Today's circuit, as --daily plays it (seeded with the UTC date, a folder of
# its own), on the same board: the drive begins on the day's circuit.
day=$(date -u +%Y%m%d)
"$datagen" --seed "$day" "$work/daily" > "$work/daily-datagen.txt" 2>&1 || fail "no data set of today's circuit"
cd "$work/daily" || fail "no daily folder"
open_window --board "$url" --name alice
press Return
shoot "daily-seed-$day" 10
daily=$(board_get /api/v1/daily 'j["circuit"]') || fail "the board's API did not answer"
[ "$daily" = "seed-$day" ] || fail "the board's day is $daily, the game's seed-$day"
kill "$pid" 2> /dev/null
wait "$pid" 2> /dev/null
stop_board
echo "PASS"
