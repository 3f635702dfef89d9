#pragma once

#include "game/laps/proof_track.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

// Which circuit a lap was driven on: the default one or the one generated from a seed.
struct CircuitId {
  bool seeded = false;
  uint32_t seed = 0;
};

// "default" or "seed-N" (N decimal, 0..4294967295, no sign, no leading zeros).
bool parseCircuitName(const std::string& text, CircuitId& out);
std::string circuitName(const CircuitId& circuit);
// The day's circuit: seeded with the UTC date of `ms` (ms since 1970) as the
// number YYYYMMDD, as the game's --daily plays it.
CircuitId dailyCircuit(int64_t ms);

// One circuit's track as a verifier drives on it. Each verifier has its own:
// the collision tree keeps per-query marks, so two drives must not share one.
struct CircuitTrack {
  ProofTrack proof;  // the tree, start, start line, centre line and circuit identity
};

// Loads the track, start line, centre line and circuit identity of the data
// set in `folder`; a data set without a centre line is refused (no sectors).
bool loadCircuitTrack(const std::string& folder, CircuitTrack& out, std::string& why);

// True for the daily circuit of the UTC day of `nowMs` and of the day before,
// whose laps may still be arriving.
bool isRecentDaily(const CircuitId& circuit, int64_t nowMs);

// The data sets of the circuits asked for, made with the generator's own code
// on first use under `root`/NAME-gVERSION and reused afterwards (also by other
// processes sharing `root`). At most `maxCircuits` are made by one process,
// besides the recent daily circuits: every player is sent to those.
class CircuitCache {
 public:
  CircuitCache(std::string root, int maxCircuits) : root_(std::move(root)), maxCircuits_(maxCircuits) {}
  // The data set folder of `circuit` at `nowMs`; made now when missing. False with `why`.
  bool folderOf(const CircuitId& circuit, int64_t nowMs, std::string& folder, std::string& why);

 private:
  std::string root_;
  int maxCircuits_;
  std::mutex mutex_;
  std::map<std::string, std::string> ready_;  // circuit name -> data set folder
  int made_ = 0;
};
