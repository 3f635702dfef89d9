#pragma once

#include "app/bench_options.h"

// `stravo --bench`, after a normal Init: drives the benchmark lap with the
// player's car and the chase camera, no input needed, one frame after
// another as the main loop does; then writes DIR/bench.csv and DIR/bench.png
// and prints the summary line. Returns the program's exit code: 0, or 1 when
// there is no lap to drive, the results cannot be written or the window was
// closed first. `onBoard` (a board named with --board): the drive is the
// autopilot's whole run from the menu's restart, so that its lap is completed,
// proven and sent as a player's; frames then go on with the menu shown until
// the board has answered (bounded), and the board's lines come on stderr.
int runBench(const BenchSettings& settings, bool onBoard);
