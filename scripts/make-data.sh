#!/usr/bin/env bash
# make-data.sh BUILD RUNDIR [SEED]: makes the demo data set in RUNDIR/data with
# BUILD/stravo-datagen (built first when missing; the circuit of SEED when given)
# when it is missing or was made by another generator version or for another
# circuit; update-data.sh says how.
set -euo pipefail
build=${1:?usage: make-data.sh BUILD RUNDIR [SEED]}
rundir=${2:?usage: make-data.sh BUILD RUNDIR [SEED]}
generator="$build/stravo-datagen"

if [ ! -x "$generator" ]; then
  cmake --build "$build" --target stravo-datagen
fi
exec "$(dirname "$0")/update-data.sh" "$generator" "$rundir" ${3:+"$3"}
