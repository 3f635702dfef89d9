#!/usr/bin/env bash
# Builds both configurations (with and without GLSL shaders) and runs every test;
# tests that need a window get Mesa's software GL under Xvfb.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

jobs=$(nproc)
export STRAVO_BATCH=1

build() {  # build DIR [cmake options...]
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" > /dev/null
  cmake --build "$dir" -j "$jobs"
}

build build
build build-noglsl -DSTRAVO_GLSL=OFF

for dir in build build-noglsl; do
  echo "== tests in $dir"
  xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir "$dir" --output-on-failure -j "$jobs"
done

if [ -x scripts/fuzz.sh ]; then
  ./scripts/fuzz.sh
fi
