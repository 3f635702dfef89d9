#pragma once

#include "physics/quadtree.h"
#include "render/rmd_mesh.h"

class PhWorld;

// The six models of the program, loaded once at start-up.
struct StartupModels {
  RMDMesh body;
  RMDMesh wheel;
  RMDMesh cone;
  RMDMesh tree;
  RMDMesh track;
  RMDMesh skyDome;
};

// Start-up's collision build: logs "Main: Building quadtree" and builds the tree
// from the track model's positions and per-material triangle lists.
CollisionQuadtree* buildTrackQuadtree(const RMDMesh& track);

// Loads the models in start-up order (body, wheel, cone, tree, track, sky dome);
// right after the track it builds the collision tree into `tree` and attaches it
// to `world`. A model that does not load logs "Error loading model" and stops the
// sequence at once: false, nothing further loaded or built.
bool loadStartupModels(StartupModels& models, PhWorld& world, CollisionQuadtree*& tree);
