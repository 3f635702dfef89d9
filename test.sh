#!/usr/bin/env bash
# Builds both configurations (with and without GLSL shaders) and runs every
# test; tests that need a window get Mesa's software GL under Xvfb. A third
# build runs the unit tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# and every benchmark program runs once briefly.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh

jobs=$(nproc)
export STRAVO_BATCH=1
started=$(date +%s)

build() {  # build DIR [cmake options...]
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@" > /dev/null
  cmake --build "$dir" -j "$jobs"
}

under_display() { xvfb-run -a -s "-screen 0 1024x768x24" "$@"; }

build build
build build-noglsl -DSTRAVO_GLSL=OFF
# -O1 keeps the sanitizer build quick to compile and the checks meaningful.
sanitize="-O1 -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Sanitize -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_C_FLAGS="$sanitize" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" > /dev/null
cmake --build build-sanitize -j "$jobs" --target unit_tests

for dir in build build-noglsl; do
  echo "== tests in $dir"
  under_display ctest --test-dir "$dir" --output-on-failure -j "$jobs"
done

echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$PWD/tests/lsan_suppressions.txt \
  under_display ctest --test-dir build-sanitize --output-on-failure -j "$jobs" -L unit

echo "== benchmarks, one short run each"
bench_data=$(mktemp -d)
build/stravo-datagen "$bench_data" > /dev/null
export STRAVO_DATA_DIR=$bench_data
for bench in build/bench/*; do
  [ -x "$bench" ] || continue
  echo "-- $bench"
  (cd build/bench && STRAVO_BENCH_FRAMES=10 under_display "./$(basename "$bench")" --benchmark_min_time=0.01)
done
echo "-- build/stravo --bench, four seconds of the autopilot's lap"
(cd "$bench_data" && under_display "$OLDPWD/build/stravo" --bench --bench-ticks 300 --bench-out bench-out)
test -s "$bench_data/bench-out/bench.csv" && test -s "$bench_data/bench-out/bench.png"
rm -rf "$bench_data"

if [ -x scripts/fuzz.sh ]; then
  ./scripts/fuzz.sh
fi
echo "== all tests passed in $(( $(date +%s) - started )) s"
