#!/usr/bin/env bash
# make-data.sh BUILD RUNDIR: makes the demo data set in RUNDIR/data with
# BUILD/stravo-datagen when it is missing or was made by another generator
# version (RUNDIR/data/datagen.version). The new set is written beside the
# old one and swapped in whole, so an interrupted run never leaves half a set.
set -euo pipefail
build=${1:?usage: make-data.sh BUILD RUNDIR}
rundir=${2:?usage: make-data.sh BUILD RUNDIR}
generator="$build/stravo-datagen"

if [ ! -x "$generator" ]; then
  cmake --build "$build" --target stravo-datagen
fi
want=$("$generator" --version)
have=$(cat "$rundir/data/datagen.version" 2>/dev/null || echo none)
[ "$want" = "$have" ] && exit 0

echo "Making the data set in $rundir/data (generator version $want)"
mkdir -p "$rundir"
staging="$rundir/.data-new"
rm -rf "$staging"
"$generator" "$staging"
rm -rf "$rundir/data"
mv "$staging/data" "$rundir/data"
rmdir "$staging"
