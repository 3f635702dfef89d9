#pragma once

#include "app/bench_options.h"

// `stravo --bench`, after a normal Init: drives the benchmark lap with the
// player's car and the chase camera, no input needed, one frame after
// another as the main loop does; then writes DIR/bench.csv and DIR/bench.png
// and prints the summary line. Returns the program's exit code: 0, or 1 when
// there is no lap to drive, the results cannot be written or the window was
// closed first.
int runBench(const BenchSettings& settings);
