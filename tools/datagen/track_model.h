#pragma once

#include "tools/datagen/mesh_builder.h"
#include "tools/datagen/track_layout.h"

// Material groups of the track, in mesh order: the surface kinds the car reads.
constexpr int kGroupAsphalt = 0;  // road, kerbs and markings
constexpr int kGroupGrass = 1;    // rough ground
constexpr int kGroupGravel = 2;   // run-off traps on the outside of corners
// Scenery groups after the three surfaces; never driven on. A wheel that
// touches one anyway reads it as neither asphalt nor grass: the car grips as
// on gravel (70%, no bumps) and the off-road rumble plays.
constexpr int kGroupStand = 3;    // the grandstand by the start line

// Ground beyond the circuit reaches this far from the origin in x and z.
constexpr double kTerrainExtent = 320.0;

// The track model: the road ribbon with kerbs, run-off and a start line over
// a terrain grid of grass that covers the whole map, and the grandstand.
MeshBuilder buildTrackModel(const TrackLayout& layout);

// True where sample i of the circuit is a corner that gets kerbs.
bool hasKerbs(const TrackLayout& layout, int sample);
// True where the run-off on the given side (+1 right, -1 left) of sample i is gravel.
bool hasGravel(const TrackLayout& layout, int sample, int side);
