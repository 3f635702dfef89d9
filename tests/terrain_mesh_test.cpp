#include "tools/datagen/terrain_mesh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <utility>

namespace {

constexpr int kCells = 32;          // four blocks a side
constexpr double kStep = 5.0;       // m a base cell
constexpr double kRoadX = 20.0;     // the road runs along x = 20 m
constexpr double kHidden = 8.0;     // m
constexpr double kExact = 1e-12;

// A grid whose road runs along one edge, so blocks of every level meet.
TerrainGrid gridBeside(double (*height)(double x, double z)) {
  TerrainGrid grid;
  grid.cells = kCells;
  for (int gz = 0; gz <= kCells; ++gz) {
    for (int gx = 0; gx <= kCells; ++gx) {
      grid.height.push_back(height(gx * kStep, gz * kStep));
      grid.roadDistance.push_back(std::fabs(gx * kStep - kRoadX));
    }
  }
  return grid;
}

double gentleHills(double x, double z) { return 2.0 * std::sin(x / 90.0) * std::cos(z / 70.0); }
double steepRise(double x, double z) { return 0.01 * (x - 80.0) * (x - 80.0) + 0.0 * z; }

// The mesh of `grid`, each vertex placed at its grid point.
MeshBuilder meshOf(const TerrainGrid& grid, double hidden) {
  MeshBuilder mesh;
  int material = mesh.material("ground");
  const int side = grid.cells + 1;
  addTerrainMesh(grid, hidden, mesh, material, [&](int gx, int gz) {
    Vec3 p(gx * kStep, grid.height[size_t(gz * side + gx)], gz * kStep);
    return mesh.addVertex(p, Vec3(0.0, 1.0, 0.0), Vec3(1.0, 1.0, 1.0), 0.0, 0.0);
  });
  return mesh;
}

using Point = std::pair<long, long>;  // a vertex's grid point, in base cells
Point pointOf(const MeshBuilder& mesh, int id) {
  const Vec3& p = mesh.vertices[size_t(id)].position;
  return {std::lround(p.x / kStep), std::lround(p.z / kStep)};
}

}  // namespace

TEST(TerrainMesh, BlocksCoarsenAwayFromTheRoadUnlessTheGroundBends) {
  TerrainGrid hills = gridBeside(gentleHills);
  EXPECT_EQ(terrainBlockLevel(hills, 0, 0), 0);  // the road runs through it
  EXPECT_EQ(terrainBlockLevel(hills, 1, 0), 0);  // nearest point 20 m off
  EXPECT_EQ(terrainBlockLevel(hills, 2, 0), 1);  // 60 m
  EXPECT_EQ(terrainBlockLevel(hills, 3, 0), 2);  // 100 m
  TerrainGrid rise = gridBeside(steepRise);
  EXPECT_EQ(terrainBlockLevel(rise, 2, 0), 0);  // cells of 10 m would miss the bend by 0.25 m
}

// Every edge inside the grid is shared by two triangles running opposite
// ways: coarse cells take in the finer neighbour's points, so no crack or
// T-junction opens where blocks of different sizes meet.
TEST(TerrainMesh, CoversTheGridWithoutCracksEveryFaceUp) {
  TerrainGrid grid = gridBeside(gentleHills);
  MeshBuilder mesh = meshOf(grid, -1.0);
  std::map<std::pair<Point, Point>, int> edges;
  double area = 0.0;
  const std::vector<int>& list = mesh.triangles[0];
  for (size_t t = 0; t + 2 < list.size(); t += 3) {
    const Vec3& a = mesh.vertices[size_t(list[t])].position;
    const Vec3& b = mesh.vertices[size_t(list[t + 1])].position;
    const Vec3& c = mesh.vertices[size_t(list[t + 2])].position;
    Vec3 n = cross(b - a, c - a);
    EXPECT_GT(n.y, 0.0);
    area += 0.5 * n.y;
    for (int k = 0; k < 3; ++k)
      edges[{pointOf(mesh, list[t + size_t(k)]), pointOf(mesh, list[t + size_t((k + 1) % 3)])}] += 1;
  }
  EXPECT_NEAR(area, (kCells * kStep) * (kCells * kStep), 1e-6);
  for (const auto& [edge, count] : edges) {
    EXPECT_EQ(count, 1);
    const Point &from = edge.first, &to = edge.second;
    bool border = (from.first == to.first && (from.first == 0 || from.first == kCells)) ||
                  (from.second == to.second && (from.second == 0 || from.second == kCells));
    if (!border) {
      EXPECT_EQ(edges.count({to, from}), 1u) << from.first << "," << from.second;
    }
  }
  // Far fewer triangles than the base grid's.
  EXPECT_LT(mesh.triangleCount(), kCells * kCells * 2);
}

TEST(TerrainMesh, LeavesOutOnlyTrianglesTheRoadCoversWholly) {
  TerrainGrid grid = gridBeside(gentleHills);
  MeshBuilder all = meshOf(grid, -1.0), cut = meshOf(grid, kHidden);
  EXPECT_LT(cut.triangleCount(), all.triangleCount());
  const std::vector<int>& list = cut.triangles[0];
  for (size_t t = 0; t + 2 < list.size(); t += 3) {
    int covered = 0;
    for (size_t k = 0; k < 3; ++k) {
      Point p = pointOf(cut, list[t + k]);
      covered += std::fabs(p.first * kStep - kRoadX) < kHidden ? 1 : 0;
    }
    EXPECT_LT(covered, 3);
  }
  // The ground a triangle's corners stand on is the grid's own.
  for (const MeshVertex& v : cut.vertices) {
    long gx = std::lround(v.position.x / kStep), gz = std::lround(v.position.z / kStep);
    EXPECT_NEAR(v.position.y, grid.height[size_t(gz * (kCells + 1) + gx)], kExact);
  }
}
