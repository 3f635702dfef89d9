#pragma once

#include "game/laps/ghost_file.h"
#include "physics/vec3.h"

#include <cstdint>
#include <string>
#include <vector>

class GhostCar;
struct CollisionQuadtree;

// The one place that knows what a lap proof is: the board gets these bytes for
// a completed lap, and a proof fetched from the board becomes a lap to drive
// only through checkProof. Today a proof is a ghost file.

// The track a fetched proof must have been driven on.
struct ProofTrack {
  uint64_t trackId = 0;
  CollisionQuadtree* tree = nullptr;
  Vec3 lineA{0.0, 0.0, 0.0};
  Vec3 lineB{0.0, 0.0, 0.0};
};

// The bytes sent for a completed lap.
std::vector<uint8_t> proofOfLap(const GhostLap& lap);

// Parses a proof and drives it again on `track` with `ghost`; the lap only when
// it holds up. False with the reason otherwise.
bool checkProof(const std::vector<uint8_t>& proof, const ProofTrack& track, GhostCar& ghost, GhostLap& out,
                std::string& why);
