#pragma once

#include "tools/datagen/mesh_builder.h"

// A traffic cone 0.7 m tall on a square foot. The game places it 0.25 m above
// the road, so its foot is written at y = -0.25.
MeshBuilder buildCone();

// A broad-leaved tree about 9 m tall: a tapered trunk, an opaque leafy core
// and a few two-sided leaf cards round it drawn with an alpha test. Written 5.5 m toward -x, which
// the loader's +5.5 m shift puts back on the trunk.
MeshBuilder buildTree();

// The sky: a dome seen from inside, radius 1000 m, from 20 degrees below the
// horizon to the zenith, mapped from above so the clouds have no seam. The
// loader lowers and flattens it; the picture puts the horizon where the
// flattened dome meets the ground.
MeshBuilder buildSkyDome();

// Sky dome geometry, shared with the sky picture.
constexpr double kSkyRadius = 1000.0;
constexpr double kSkyLowestElevation = -20.0;  // degrees
// Texture radius (from the picture's centre) of the dome's ring at `elevation` degrees.
double skyTextureRadius(double elevationDegrees);
