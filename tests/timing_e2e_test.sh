#!/usr/bin/env bash
# The timing aids and the replay viewer in the real program under the X display
# of ./test.sh: a lap of stravo-sim's autopilot on the generated data set is the
# best lap in ghosts/best.ghost. The player starts the drive, switches the
# timing aids on with T and crosses the start line: the delta to the best lap
# shows, red (behind, from a standing start). Stopped, the player opens the
# replay viewer with P (REPLAY shows), tries the cameras, the speeds and the
# pause, leaves with P, and the drive stands where it stood.
# Usage: timing_e2e_test.sh STRAVO STRAVO_SIM DATAGEN WORKDIR ARTEFACTS
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
grep -E "^(lap|sectors) " sim.txt

# Pixels of screenshot $1 inside the crop $2 (WxH+X+Y) whose colour passes the
# ImageMagick test $3.
count() {
  convert "$artefacts/$1.png" -crop "$2" +repage -fx "$3" -format '%[fx:round(mean*w*h)]' info:
}
# At 800 x 600: the delta at the top middle, the replay banner beside it.
delta_area="200x50+300+5"
banner_area="220x60+280+0"
red='r > 0.7 && g < 0.45 && b < 0.45'
gold='r > 0.8 && g > 0.6 && b < 0.45'
# The scene between the lap times (top) and the dials (bottom).
scene="800x300+0+120"
differing() {
  compare -metric AE -fuzz 20% "$artefacts/$1.png[$scene]" "$artefacts/$2.png[$scene]" null: 2>&1 |
    sed 's/[^0-9.].*//'
}

open_window

press Return              # restart: the drive begins 20 m behind the line
press t                   # the timing aids on
xdotool keydown Up        # over the line: the lap starts against the best lap
sleep 4
shoot delta
xdotool keyup Up
xdotool keydown Down      # stop, and stay braked (Down is no key of the viewer)
sleep 4
shoot before

press p                   # the replay viewer: the best lap from its start
sleep 2
shoot replay
press 4                   # the trackside camera on the replayed car
shoot replay-camera4
press 2                   # the roof camera
press Right               # twice the speed
shoot replay-roof-2x
press space               # paused
shoot replay-paused
press p                   # back to the drive where it stood
shoot after
xdotool keyup Down

kill -0 "$pid" 2> /dev/null || fail "the program ended during the replay"
kill "$pid" 2> /dev/null
wait "$pid" 2> /dev/null
pid=

# Over the line the delta shows, green or red; stopped, the ghost draws away: red.
coloured=$(count delta "$delta_area" "($red) || (g > 0.7 && r < 0.5 && b < 0.5)")
reddish=$(count before "$delta_area" "$red")
echo "coloured pixels of the delta: $coloured over the line, $reddish red once stopped"
[ "$coloured" -ge 40 ] || fail "no delta after crossing the line ($coloured coloured pixels)"
[ "$reddish" -ge 40 ] || fail "no red delta while standing behind the best lap ($reddish red pixels)"
banner=$(count replay "$banner_area" "$gold")
none=$(count before "$banner_area" "$gold")
echo "gold pixels of the replay banner: $banner in the viewer, $none before it"
[ "$banner" -ge 100 ] && [ "$banner" -gt $((10 * none + 10)) ] || fail "no REPLAY banner in the viewer"
[ "$(count after "$banner_area" "$gold")" -le $((none + 10)) ] || fail "the REPLAY banner stays after leaving"
moved=$(differing before replay)
stood=$(differing before after)
echo "pixels of the scene that differ: $moved in the viewer, $stood after leaving it"
awk -v m="$moved" -v s="$stood" 'BEGIN { exit !(m > 5000 && s < m / 10) }' ||
  fail "the viewer did not show another view, or the drive did not come back where it stood"
echo "PASS"
