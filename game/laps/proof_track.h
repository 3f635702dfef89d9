#pragma once

#include "game/laps/proof_file.h"
#include "game/track_line.h"
#include "physics/quadtree.h"
#include "physics/vec3.h"
#include "render/rmd_mesh.h"

#include <string>

// A track as proofs are verified on it: the collision tree the car drives on,
// the start position and line, the centre line (checkpoints and sector splits)
// and the circuit's identity.
struct ProofTrack {
  ProofTrack() = default;
  ~ProofTrack();
  ProofTrack(const ProofTrack&) = delete;
  ProofTrack& operator=(const ProofTrack&) = delete;

  RMDMesh mesh;
  CollisionQuadtree* tree = nullptr;  // owned when built by loadProofTrack
  bool ownsTree = false;
  Vec3 startPosition{0.0, 0.0, 0.0};
  float startHeading = 0.0f;  // degrees
  Vec3 lineA{0.0, 0.0, 0.0};  // the start line's two cones
  Vec3 lineB{0.0, 0.0, 0.0};
  TrackLine centreLine;       // empty when the data set has none
  ProofCircuit circuit;
};

// The start line of a track whose start position and heading are set.
void finishProofTrack(ProofTrack& track);

// What a proof is checked against beyond the tree: `folder` + data\track.line,
// data\datagen.version and the identity of data\models\track1.rmd (`folder`
// "" for the working folder, else a prefix ending in a separator). A missing
// or bad centre line leaves it empty, a missing stamp leaves the generator
// version 0 and the circuit the default one.
void readProofTrackData(const std::string& folder, ProofTrack& track);

// Reads DIR\data\models\track1.rmd with its collision tree, DIR\data\trees.prp
// and readProofTrackData. False with `why` when the track model does not load;
// a missing prop file leaves the start at the origin.
bool loadProofTrack(const std::string& dir, ProofTrack& track, std::string& why);

// The data set's version stamp: "VERSION" or "VERSION seed N", then a line end.
// False for any other text.
bool parseVersionStamp(const uint8_t* data, size_t size, ProofCircuit& out);
