#!/usr/bin/env bash
# update-data.sh GENERATOR RUNDIR [SEED]: makes the demo data set in RUNDIR/data
# with the program GENERATOR (stravo-datagen; the circuit of SEED when given) when
# it is missing or was made by another generator version or for another circuit
# (RUNDIR/data/datagen.version). The new set is written beside the old one and
# swapped in whole, so an interrupted run never leaves half a set.
# ./run.sh (through make-data.sh) and the installed launcher both use it.
set -euo pipefail
generator=${1:?usage: update-data.sh GENERATOR RUNDIR [SEED]}
rundir=${2:?usage: update-data.sh GENERATOR RUNDIR [SEED]}
seed=${3:-}

want=$("$generator" --version)
seedargs=()
if [ -n "$seed" ]; then
  want="$want seed $seed"
  seedargs=(--seed "$seed")
fi
have=$(cat "$rundir/data/datagen.version" 2>/dev/null || echo none)
[ "$want" = "$have" ] && exit 0

echo "Making the data set in $rundir/data (generator version $want)"
mkdir -p "$rundir"
staging="$rundir/.data-new"
rm -rf "$staging"
"$generator" ${seedargs[@]+"${seedargs[@]}"} "$staging"
rm -rf "$rundir/data"
mv "$staging/data" "$rundir/data"
rmdir "$staging"
