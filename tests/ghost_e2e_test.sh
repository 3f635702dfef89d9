#!/usr/bin/env bash
# The ghost car in the real program under the X display of ./test.sh: a lap
# driven by stravo-sim's autopilot on the generated data set is the best lap in
# ghosts/best.ghost; the player starts the drive, switches the ghost on with G,
# crosses the start line and stops. Then the same standing moment is shot with
# the ghost shown, hidden by G, and hidden again a little later: only the first
# differs, and where it differs it is brighter (the ghost glows over the scene).
# Usage: ghost_e2e_test.sh STRAVO STRAVO_SIM DATAGEN WORKDIR ARTEFACTS
set -uo pipefail

stravo=$1
sim=$2
datagen=$3
work=$4
artefacts=$5
title="StravoDemo1 by Velkor"

fail() {
  echo "FAIL: $*"
  [ -f "$work/log.txt" ] && { echo "--- log.txt (last 20 lines)"; tail -n 20 "$work/log.txt"; echo; }
  [ -n "${pid:-}" ] && kill "$pid" 2> /dev/null
  exit 1
}

# shellcheck source=session_setup.sh
source "$(dirname "$0")/session_setup.sh"

best_lap_by_autopilot
"$sim" --dir . --verify-ghost ghosts/best.ghost | grep -q "^ghost verified: lap " || fail "the ghost does not verify"
cp ghosts/best.ghost "$artefacts/best.ghost"

# The scene between the lap times (top) and the dials (bottom), which keep
# moving while the car stands.
scene="800x300+0+120"
# Pixels of the scene of $1 and $2 that differ by more than a fifth.
differing() {
  compare -metric AE -fuzz 20% "$artefacts/$1.png[$scene]" "$artefacts/$2.png[$scene]" null: 2>&1 |
    sed 's/[^0-9.].*//'
}

open_window
# A good ghost file leaves the start-up log as it is: no refusal, and the ghost's
# material is not loaded before G is pressed.
grep -qi ghost log.txt && fail "the start-up log mentions the ghost: $(grep -i ghost log.txt)"

press Return              # restart: the drive begins 20 m behind the line
press g                   # the ghost on
xdotool keydown Up        # over the line: the ghost starts beside the car
sleep 3.5
xdotool keyup Up
xdotool keydown Down      # stop, so that nothing but the ghost moves in the picture
sleep 2.5
xdotool keyup Down
shoot ghost-on
press g                   # the ghost hidden
shoot ghost-off
sleep 2
shoot ghost-off-later

kill "$pid" 2> /dev/null
wait "$pid" 2> /dev/null
pid=

ghost=$(differing ghost-on ghost-off)
still=$(differing ghost-off ghost-off-later)
echo "pixels that differ: $ghost with the ghost shown and hidden, $still with it hidden twice"
awk -v g="$ghost" -v s="$still" 'BEGIN { exit !(g >= 150 && g > 10 * s) }' ||
  fail "the ghost does not show: $ghost pixels differ ($still between two shots without it)"
# The ghost adds light: the shot with it is brighter overall than the one without.
# The light of the scene of $1 beyond that of $2, summed over the pixels (grey, 0..1 each).
light() {
  convert "$artefacts/$1.png[$scene]" "$artefacts/$2.png[$scene]" -compose minus_src -composite \
    -colorspace Gray -format '%[fx:mean*w*h]' info:
}
brighter=$(light ghost-on ghost-off)
darker=$(light ghost-off ghost-on)
echo "light added by the ghost $brighter, taken away $darker"
awk -v b="$brighter" -v d="$darker" 'BEGIN { exit !(b > 4 * d) }' || fail "the ghost does not add light"
echo "PASS"
