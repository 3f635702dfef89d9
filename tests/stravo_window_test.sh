#!/usr/bin/env bash
# Starts the real program the way a person does, in an empty folder, and reads
# what it leaves: the window's GL visual while it runs, then the exit code,
# config.txt and log.txt after SIGTERM.
# Usage: stravo_window_test.sh STRAVO PROBE plain|multisample
set -u
stravo=$1 probe=$2 expect=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "FAIL: $*"; exit 1; }

STRAVO_BATCH=1 "$stravo" 2> stderr.txt &
pid=$!
window=""
for _ in $(seq 50); do
  window=$(xdotool search --pid "$pid" --name "StravoDemo1 by Velkor" 2> /dev/null | head -n 1)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { kill -TERM "$pid"; fail "no window titled 'StravoDemo1 by Velkor'"; }
sleep 1
visual=$("$probe" "$window")
geometry=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
kill -TERM "$pid"
wait "$pid"
code=$?

[ "$code" -eq 0 ] || fail "exit code $code after SIGTERM"
[ "$geometry" = "800x600" ] || fail "window client size $geometry, expected 800x600"

expected_config=$'windowwidth 800\nwindowheight 600\nbitsperpixel 32\nrefreshrate 75\nfullscreen 0\nvsync 1\nfsaa 4\n\n---\n\nAccepted values for fsaa is 0,2,4 and possibly 6 or 8'
[ "$(cat config.txt; echo x)" = "${expected_config}x" ] || fail "config.txt is not the default text"

# Ended by a signal while logging is off: only the start-up lines.
[ "$(head -n 1 log.txt)" = "Log started" ] || fail "log.txt does not begin with 'Log started'"
[ "$(tail -c 15 log.txt)" = "Main: Init done" ] || fail "log.txt does not end with 'Main: Init done'"
grep -q "Main: Cleaning up" log.txt && fail "shutdown lines logged although logging was off"

messages=$(grep -c "Multisampling" stderr.txt)
case "$expect" in
  plain)
    [ "$visual" = "0 0" ] || fail "window visual has samples ($visual) in a build that must not ask for them"
    [ "$messages" -eq 0 ] || fail "multisampling message in a build that must not ask for it"
    ;;
  multisample)
    if [ "$visual" != "1 4" ]; then
      [ "$messages" -eq 1 ] || fail "no 4-sample visual ($visual) and no multisampling message"
    fi
    ;;
esac
echo "ok: visual $visual, $(wc -l < log.txt) log lines"
