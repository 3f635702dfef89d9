#pragma once

#include "physics/quadtree.h"
#include "render/rmd_mesh.h"

#include <cstdint>
#include <string>

class PhWorld;

// The shared generator's seed at start-up, before the car draws its noise
// table: the game, the headless runner and the tests that drive as they do.
constexpr uint32_t kStartupSeed = 345;

// The six models of the program, loaded once at start-up.
struct StartupModels {
  RMDMesh body;
  RMDMesh wheel;
  RMDMesh cone;
  RMDMesh tree;
  RMDMesh track;
  RMDMesh skyDome;
};

// The collision build of a loaded track: logs "Main: Building quadtree" and
// hands the model's positions and per-material triangle lists to the tree.
CollisionQuadtree* buildTrackQuadtree(const RMDMesh& track);

// The track's part of the sequence, which the headless runner shares: loads
// `folder` + "data\models\track1.rmd" into `track`, builds its collision tree
// into `tree` and attaches it to `world`. False (nothing built or attached)
// when the model does not load; `failedPath` then names it.
bool loadTrackWithCollision(const std::string& folder, RMDMesh& track, PhWorld& world, CollisionQuadtree*& tree,
                            std::string& failedPath);

// Loads the models in start-up order (body, wheel, cone, tree, track with its
// collision tree, sky dome) from `folder` ("" for the working folder, else a
// prefix ending in a separator). A model that does not load logs "Error
// loading model" and stops the sequence at once: false, nothing further loaded
// or built, `failedPath` naming it.
bool loadStartupModels(const std::string& folder, StartupModels& models, PhWorld& world, CollisionQuadtree*& tree,
                       std::string& failedPath);
