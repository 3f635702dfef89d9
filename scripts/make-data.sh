#!/usr/bin/env bash
# make-data.sh BUILD RUNDIR [SEED]: makes the demo data set in RUNDIR/data with
# BUILD/stravo-datagen (the circuit of SEED when given) when it is missing or
# was made by another generator version or for another circuit
# (RUNDIR/data/datagen.version). The new set is written beside the
# old one and swapped in whole, so an interrupted run never leaves half a set.
set -euo pipefail
build=${1:?usage: make-data.sh BUILD RUNDIR}
rundir=${2:?usage: make-data.sh BUILD RUNDIR [SEED]}
seed=${3:-}
generator="$build/stravo-datagen"

if [ ! -x "$generator" ]; then
  cmake --build "$build" --target stravo-datagen
fi
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
