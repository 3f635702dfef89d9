#!/usr/bin/env bash
# make-data.sh BUILD RUNDIR: makes the demo data set in RUNDIR/data with
# BUILD/stravo-datagen (built first when missing) when it is missing or was made
# by another generator version; update-data.sh says how.
set -euo pipefail
build=${1:?usage: make-data.sh BUILD RUNDIR}
rundir=${2:?usage: make-data.sh BUILD RUNDIR}
generator="$build/stravo-datagen"

if [ ! -x "$generator" ]; then
  cmake --build "$build" --target stravo-datagen
fi
exec "$(dirname "$0")/update-data.sh" "$generator" "$rundir"
