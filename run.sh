#!/usr/bin/env bash
# Builds Stravo (Release) and runs it in the working folder run/, which keeps
# config.txt, log.txt and toptimes.dat across rebuilds and holds the data set.
# ./run.sh --seed N plays the circuit that seed N gives, in its own folder
# run-seed-N/, so best times of one circuit never mix with another's.
# ./run.sh --daily plays today's circuit: the seed is the UTC date, YYYYMMDD.
set -euo pipefail
cd "$(dirname "$0")"

seed=""
args=()
while [ $# -gt 0 ]; do
  if [ "$1" = "--seed" ]; then
    seed=${2:-}
    if ! [[ "$seed" =~ ^[0-9]+$ ]]; then
      echo "run.sh: --seed needs a whole number" >&2
      exit 2
    fi
    shift 2
  elif [ "$1" = "--daily" ]; then
    seed=$(date -u +%Y%m%d)
    shift
  else
    args+=("$1")
    shift
  fi
done

./scripts/install-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build -j "$(nproc)"

rundir=run
[ -n "$seed" ] && rundir="run-seed-$seed"
mkdir -p "$rundir"
if [ -x scripts/make-data.sh ]; then
  ./scripts/make-data.sh build "$rundir" $seed
fi
cd "$rundir"
exec ../build/stravo ${args[@]+"${args[@]}"}
