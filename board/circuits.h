#pragma once

#include "game/laps/sector_splits.h"
#include "game/track_line.h"
#include "physics/vec3.h"
#include "physics/world.h"
#include "render/rmd_mesh.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

struct CollisionQuadtree;

// Which circuit a lap was driven on: the default one or the one generated from a seed.
struct CircuitId {
  bool seeded = false;
  uint32_t seed = 0;
};

// "default" or "seed-N" (N decimal, 0..4294967295, no sign, no leading zeros).
bool parseCircuitName(const std::string& text, CircuitId& out);
std::string circuitName(const CircuitId& circuit);

// One circuit's track as a verifier drives on it. Each verifier has its own:
// the collision tree keeps per-query marks, so two drives must not share one.
struct CircuitTrack {
  RMDMesh track;
  PhWorld world;  // holds the tree while nothing drives; verifiers attach it to their own
  CollisionQuadtree* tree = nullptr;
  uint64_t trackId = 0;  // trackIdentity() of track1.rmd's bytes
  Vec3 startPosition{0.0, 0.0, 0.0};
  Vec3 lineA{0.0, 0.0, 0.0};
  Vec3 lineB{0.0, 0.0, 0.0};
  TrackLine centre;  // data/track.line
  SectorSplits splits;  // one and two thirds of the centre line from the start

  CircuitTrack() = default;
  CircuitTrack(const CircuitTrack&) = delete;
  CircuitTrack& operator=(const CircuitTrack&) = delete;
  ~CircuitTrack();
};

// Loads the track, start line and centre line of the data set in `folder`.
bool loadCircuitTrack(const std::string& folder, CircuitTrack& out, std::string& why);

// The data sets of the circuits asked for, made with the generator's own code
// on first use under `root`/NAME-gVERSION and reused afterwards (also by other
// processes sharing `root`). At most `maxCircuits` are made by one process.
class CircuitCache {
 public:
  CircuitCache(std::string root, int maxCircuits) : root_(std::move(root)), maxCircuits_(maxCircuits) {}
  // The data set folder of `circuit`; made now when missing. False with `why`.
  bool folderOf(const CircuitId& circuit, std::string& folder, std::string& why);

 private:
  std::string root_;
  int maxCircuits_;
  std::mutex mutex_;
  std::map<std::string, std::string> ready_;  // circuit name -> data set folder
  int made_ = 0;
};
