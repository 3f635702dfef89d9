#pragma once

#include "physics/quadtree.h"

struct RMDMesh;

// Start-up's collision build: logs "Main: Building quadtree" and builds the tree
// from the track model's positions and per-material triangle lists.
CollisionQuadtree* buildTrackQuadtree(const RMDMesh& track);
