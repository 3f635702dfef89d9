#!/usr/bin/env bash
# Builds every libFuzzer target (fuzz_*) with clang in build-fuzz, writes each
# one's seed corpus and runs it for a bounded time. Exits non-zero when a target
# finds a crash; the input that caused it is kept as build-fuzz/crash-NAME-*.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${STRAVO_FUZZ_SECONDS:-30}
dir=build-fuzz

instrument="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DSTRAVO_FUZZ=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_C_FLAGS="$instrument" -DCMAKE_CXX_FLAGS="$instrument" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" > /dev/null
cmake --build "$dir" --target fuzz_targets -j "$(nproc)"

status=0
for target in "$dir"/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  name=$(basename "$target")
  corpus="$dir/corpus/$name"
  mkdir -p "$corpus"
  if [ -x "$dir/fuzz-seeds/$name" ]; then
    "$dir/fuzz-seeds/$name" "$corpus"
  fi
  echo "== fuzzing $name for ${seconds} s"
  log="$dir/$name.log"
  if "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$dir/crash-$name-" "$corpus" > "$log" 2>&1; then
    grep -E "stat::number_of_executed_units|Done [0-9]+ runs" "$log" || true
  else
    echo "!! $name failed:"
    tail -n 40 "$log"
    status=1
  fi
done
exit $status
