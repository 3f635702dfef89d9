#!/usr/bin/env bash
# The lap plot command on two autopilot laps of the generated circuit, without
# and with the turbo: it writes a PNG of the expected size that is not blank,
# draws a single file too, and refuses a file without a complete lap.
# Usage: lap_plot_test.sh SIM DATAGEN PLOT WORKDIR ARTEFACTS
set -uo pipefail

sim=$1
datagen=$2
plot=$3
work=$4
artefacts=$5

fail() {
  echo "FAIL: $*"
  exit 1
}

rm -rf "$work" "$artefacts"
mkdir -p "$work" "$artefacts"
"$datagen" "$work" > "$work/datagen.txt" 2>&1 || fail "the data set could not be generated"
cd "$work" || exit 1

"$sim" --autopilot --telemetry base.csv > base.txt || fail "stravo-sim --autopilot failed"
"$sim" --autopilot --turbo --telemetry turbo.csv > turbo.txt || fail "stravo-sim --autopilot --turbo failed"
grep -q '^lap 1: ' base.txt || fail "no lap in 7500 ticks: $(cat base.txt)"

"$plot" base.csv turbo.csv -o "$artefacts/laps.png" > plot.txt 2>&1 || fail "the plot failed: $(cat plot.txt)"
cat plot.txt
# The labels carry the lap times the runner printed.
for run in base turbo; do
  lap=$(sed -n 's/^lap 1: //p' "$run.txt")
  grep -q "^$run.csv, lap 1 ($lap): " plot.txt || fail "the $run lap is not labelled with $lap"
done

check_png() {
  local file=$1 size spread
  [ -s "$file" ] || fail "no $file"
  size=$(identify -format '%wx%h' "$file") || fail "$file is not a picture"
  [ "$size" = "$2" ] || fail "$file is $size, not $2"
  spread=$(convert "$file" -colorspace Gray -format '%[fx:standard_deviation]' info:)
  awk -v s="$spread" 'BEGIN { exit !(s > 0.05) }' || fail "$file looks blank (grey spread $spread)"
  echo "$file: $size, grey spread $spread"
}
check_png "$artefacts/laps.png" 1200x1200      # five panels with the time difference
"$plot" base.csv -o "$artefacts/one.png" > /dev/null || fail "the plot of one file failed"
check_png "$artefacts/one.png" 1200x980        # four panels

"$sim" --autopilot --ticks 300 --telemetry short.csv > /dev/null || fail "the short run failed"
"$plot" short.csv -o short.png 2> short_err.txt && fail "a file without a complete lap was drawn"
grep -q "no complete lap" short_err.txt || fail "no reason given: $(cat short_err.txt)"
[ ! -e short.png ] || fail "a picture was written for a file without a lap"
echo "PASS"
