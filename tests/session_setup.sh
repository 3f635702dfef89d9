# Sourced by the scripts that play the real program under the X display of
# ./test.sh: skips (exit 77) without a display or a tool, then lays a fresh
# data set in $work and enters it. Expects $work, $artefacts, $datagen and fail().
# Gives press KEY, which holds a key for $hold seconds, open_window [ARGS],
# which starts $stravo and waits for the window titled $title ($pid and $window),
# shoot NAME [SECONDS], which saves the window as $artefacts/NAME.png, and
# best_lap_by_autopilot, which leaves a lap of stravo-sim ($sim) as the best
# lap in ghosts/best.ghost (its output in sim.txt).

if [ -z "${DISPLAY:-}" ]; then
  echo "SKIP: no X display (./test.sh runs the tests under xvfb-run)"
  exit 77
fi
for tool in xdotool import convert; do
  command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done

rm -rf "$work" "$artefacts"
mkdir -p "$work" "$artefacts"
"$datagen" "$work" > "$work/datagen.txt" 2>&1 || fail "the data set could not be generated"
cd "$work" || exit 1

# A key must be down while at least one update reads the keyboard, and up
# again for one before the next menu key (the menu's latch). Software GL on a
# busy machine draws a frame a second or slower, so hold generously;
# STRAVO_E2E_HOLD (seconds) tunes it.
hold=${STRAVO_E2E_HOLD:-2}
press() {
  xdotool keydown "$1"
  sleep "$hold"
  xdotool keyup "$1"
  sleep "$hold"
}

# Starts the program in the background (message boxes to stderr), with the
# arguments given, and waits for its window, which then gets the keyboard;
# fails when it does not open or the program ends on its own.
open_window() {
  STRAVO_BATCH=1 "$stravo" "$@" > "$work/stdout.txt" 2> "$work/stderr.txt" &
  pid=$!
  window=$(timeout 60 xdotool search --sync --onlyvisible --name "$title" 2> /dev/null | head -n 1)
  [ -n "$window" ] || fail "no window titled \"$title\""
  # Without a window manager the keyboard goes to the window under the pointer.
  xdotool mousemove --window "$window" 400 300
  xdotool windowfocus "$window" 2> /dev/null
  sleep "$(awk -v h="$hold" 'BEGIN { print 3 * h }')"
  kill -0 "$pid" 2> /dev/null || fail "the program ended on its own"
}

# A screenshot of the window, which must not be a blank picture; the first
# frame may take a while (the reflections are rendered then), so wait up to
# the given number of seconds for one.
shoot() {
  local file="$artefacts/$1.png" spread tries=${2:-1}
  while :; do
    import -window "$window" "$file" 2> /dev/null || fail "no screenshot $1"
    spread=$(convert "$file" -colorspace Gray -format '%[fx:standard_deviation]' info:)
    awk -v s="$spread" 'BEGIN { exit !(s > 0.02) }' && break
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || fail "screenshot $1 is still blank after ${2:-1} s (spread $spread)"
    sleep 1
  done
  echo "screenshot $file (grey spread $spread)"
}

best_lap_by_autopilot() {
  "$sim" --dir . --autopilot --ticks 8000 > sim.txt 2>&1 || fail "stravo-sim could not drive a lap: $(cat sim.txt)"
  [ -f ghosts/best.ghost ] || fail "stravo-sim wrote no ghosts/best.ghost"
}
