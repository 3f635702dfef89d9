#include "app/bench_options.h"

#include <CLI/CLI.hpp>

namespace {

const char* const kBenchValueOptions[] = {"--bench-ghost", "--bench-out", "--bench-ticks"};

}  // namespace

void describeBenchOptions(CLI::App& app, BenchSettings& settings) {
  app.add_flag("--bench", settings.on,
               "Drive a ghost lap with the chase camera, then write bench.csv and bench.png and print the frame times");
  app.add_option("--bench-ghost", settings.ghostPath, "The lap --bench drives (default: the autopilot's best lap)")
      ->type_name("FILE");
  app.add_option("--bench-out", settings.outDir, "Folder for bench.csv and bench.png (default: the working folder)")
      ->type_name("DIR");
  app.add_option("--bench-ticks", settings.ticks, "Drive only the lap's first N ticks (a short --bench run)")
      ->check(CLI::PositiveNumber)
      ->type_name("N");
}

std::string checkBenchOptions(const CLI::App& app, const BenchSettings& settings) {
  // The bench drives a ghost file's lap from the line, which proves nothing;
  // on a board it drives the autopilot's run from a standing start instead.
  if (settings.on && !settings.ghostPath.empty() && app.count("--board") > 0)
    return "--bench-ghost cannot go with --board (the bench sends the autopilot's lap)";
  if (settings.on) return "";
  for (const char* name : kBenchValueOptions)
    if (app.count(name) > 0) return std::string(name) + " needs --bench";
  return "";
}
