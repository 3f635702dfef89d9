#!/usr/bin/env bash
# Builds Stravo (Release) and runs it in the working folder run/, which keeps
# config.txt, log.txt and toptimes.dat across rebuilds and holds the data set.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build -j "$(nproc)"

mkdir -p run
if [ -x scripts/make-data.sh ]; then
  ./scripts/make-data.sh build run
fi
cd run
exec ../build/stravo "$@"
