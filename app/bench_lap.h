#pragma once

#include "game/laps/ghost_file.h"
#include "game/laps/proof_file.h"

#include <string>

struct CollisionQuadtree;
struct GameState;
struct TrackLine;

// Where a benchmark lap is driven: the game's track and start line.
struct BenchTrack {
  CollisionQuadtree* tree = nullptr;
  uint64_t trackId = 0;
  const GameState* game = nullptr;  // start position, heading and line
};

// The lap in a ghost file, refused (false, `why`) as the game refuses a ghost
// file: damaged, of another car or track, or not driving again to its poses.
bool loadBenchLap(const char* path, const BenchTrack& track, GhostLap& out, std::string& why);

// The autopilot's best lap: its drive from the start, as `stravo-sim
// --autopilot --ticks 8000` makes it, in a world of its own. The same lap every
// time; false (`why`) when it completes none. `run`, when given, receives the
// whole run from the menu's restart to that lap's end, as its proof holds it.
bool autopilotBenchLap(const TrackLine& line, const BenchTrack& track, GhostLap& out, std::string& why,
                       LapProof* run = nullptr);

// The circuit's centre line read from `path`; false with the reason.
bool loadBenchTrackLine(const char* path, TrackLine& out, std::string& why);
