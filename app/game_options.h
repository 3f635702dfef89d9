#pragma once

#include "app/bench_options.h"
#include "app/outgauge_feed.h"

#include <string>

// What the command line asks of one run of the game. Nothing here is written to
// config.txt: the options last for the run they are given to.
struct GameOptions {
  int fullscreen = -1;  // -1: as config.txt says; 0: --windowed; 1: --fullscreen
  bool rumble = false;  // --rumble: the controller rumbles with the car's force feedback (key F)
  OutGaugeSettings outgauge;  // --outgauge HOST:PORT, --outgauge-id N, --outgauge-rate HZ
  std::string board;  // --board URL (http or https); empty: board.txt, else none
  std::string name;   // --name NAME on the board
  BenchSettings bench;  // --bench, --bench-ghost FILE, --bench-out DIR, --bench-ticks N
};

// What main does after reading the command line: start the game, or print `text`
// (to stdout when `exitCode` is 0, to stderr otherwise) and end with `exitCode`.
struct GameOptionsResult {
  bool run = true;
  int exitCode = 0;
  std::string text;
};

// Parses the game's command line: --help, --version, --fullscreen, --windowed and
// the telemetry and benchmark options.
// An unknown option ends with exit code 2 and its reason over the usage line.
GameOptionsResult parseGameOptions(int argc, const char* const* argv, GameOptions& out);
