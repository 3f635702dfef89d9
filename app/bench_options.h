#pragma once

#include <string>

namespace CLI {
class App;
}

// What `stravo --bench` drives and where it writes its results.
struct BenchSettings {
  bool on = false;          // --bench
  std::string ghostPath;    // --bench-ghost FILE; empty: the autopilot's best lap
  std::string outDir = ".";  // --bench-out DIR: bench.csv and bench.png
  long long ticks = 0;      // --bench-ticks N: only the lap's first N ticks; 0 the whole lap
};

// The benchmark's options bound to `settings`.
void describeBenchOptions(CLI::App& app, BenchSettings& settings);

// Empty when the options fit together, else why not (a --bench-* option
// without --bench, --bench-ghost with --board).
std::string checkBenchOptions(const CLI::App& app, const BenchSettings& settings);
