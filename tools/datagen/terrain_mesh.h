#pragma once

#include "tools/datagen/mesh_builder.h"

#include <functional>
#include <vector>

// The ground around the circuit: a square grid of heights whose triangles are
// finest near the road and grow farther off, where a small triangle would
// cost a rasteriser as much as a large one and show nothing more.
struct TerrainGrid {
  int cells = 0;  // base cells a side; a multiple of kTerrainBlockCells
  // Per grid point, row by row: the ground's height and the distance to the
  // road's centre line, in metres.
  std::vector<double> height, roadDistance;
};

// Base cells a side of a block, the patch that takes one cell size.
constexpr int kTerrainBlockCells = 8;

// The cell size of block (bx, bz), as a power of two of base cells (0: base
// cells): the larger the farther the road is, as long as the cells stay
// within kTerrainTolerance of every grid point's height.
constexpr double kTerrainTolerance = 0.2;  // m
int terrainBlockLevel(const TerrainGrid& grid, int bx, int bz);

// Adds the ground's triangles to `mesh` in `material`, every front face up.
// `vertex(gx, gz)` makes the vertex of grid point (gx, gz); a block makes its
// own vertices, so each point is asked for once a block that uses it.
// Triangles whose corners all lie within `hiddenDistance` of the road are
// left out (the road covers them). A coarse cell beside a finer block takes in
// that block's points on their shared edge, so no crack opens between them.
// Blocks come in Z order: a run of triangles covers a compact patch.
void addTerrainMesh(const TerrainGrid& grid, double hiddenDistance, MeshBuilder& mesh, int material,
                    const std::function<int(int gx, int gz)>& vertex);
