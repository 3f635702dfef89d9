#pragma once

#include "tools/datagen/mesh_builder.h"

// A traffic cone 0.7 m tall on a square foot. The game places it 0.25 m above
// the road, so its foot is written at y = -0.25.
MeshBuilder buildCone();

// A broad-leaved tree about 9 m tall: a tapered trunk, an opaque leafy core
// and a few two-sided leaf cards round it, all in one material drawn with an
// alpha test (one draw a tree). Written 5.5 m toward -x, which the loader's
// +5.5 m shift puts back on the trunk.
MeshBuilder buildTree();

// The tree's picture stacks its parts from the bottom row up: bark, the
// crown's solid leaves, then the leaf cards with their cut-out outline. Each
// part starts on a power-of-two row, so box-filtered mipmaps never mix two
// parts; the mesh keeps kTreeRowMargin off each part's edges, so bilinear
// reads do not either.
struct TreeRows {
  double lo, hi;  // texture v
};
constexpr TreeRows kTreeBarkRows{0.0, 0.25};
constexpr TreeRows kTreeCrownRows{0.25, 0.5};
constexpr TreeRows kTreeCardRows{0.5, 1.0};
constexpr double kTreeRowMargin = 1.0 / 64.0;
// The v of the mesh's `local` (0 to 1 across a part) inside `rows`.
constexpr double treeV(const TreeRows& rows, double local) {
  return rows.lo + kTreeRowMargin + local * (rows.hi - rows.lo - 2.0 * kTreeRowMargin);
}

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
