#pragma once

#include "app/outgauge_feed.h"

#include <string>
#include <vector>

// What one run of the headless runner does.
struct SimOptions {
  std::string dir = ".";  // the folder holding data/ (and receiving replay.vlr)
  long long ticks = 7500;
  std::string inputPath;      // input script; empty for none
  std::string telemetryPath;  // CSV output; empty for none
  std::string playPath;       // replay to play back; empty for none
  bool record = false;
  bool turbo = false;
  bool manual = false;
  bool autopilot = false;
  OutGaugeSettings outgauge;  // --outgauge HOST:PORT, --outgauge-id N, --outgauge-rate HZ
  std::string helpText;  // set by --help: print it and run nothing
  std::string ghostPath;         // lap to drive against (ghost car, delta, splits); empty for none
  std::vector<std::string> verifyGhostPaths;  // ghost files to check instead of driving
  std::string board;             // --board URL: talk to the board instead of driving; empty for none
  std::string name;              // --name NAME on the board; empty for the kept or login name
  std::string submitPath;        // --submit FILE: the proof to send
  bool fetchRival = false;       // --fetch-rival
};

// The one-line usage text.
const char* simUsage();

// Parses the command line; false with the reason in `why` on an unknown
// option, a missing value or a tick count that is not a whole number >= 0.
// --help fills `out.helpText` and returns true.
bool parseSimOptions(int argc, const char* const* argv, SimOptions& out, std::string& why);
