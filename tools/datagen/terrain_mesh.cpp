#include "tools/datagen/terrain_mesh.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <utility>

namespace {

// A block whose nearest grid point lies within kLevelReach[k] metres of the
// road takes cells of at most 2^k base cells; farther off, cells a whole
// block wide. Most hills change over hundreds of metres and lose next to
// nothing; where the ground bends more (the rise at the edge) the tolerance
// keeps the cells finer.
constexpr double kLevelReach[] = {35.0, 80.0, 160.0};  // m
constexpr int kLevels = int(sizeof(kLevelReach) / sizeof(kLevelReach[0]));

// Interleaves the bits of x and z: blocks sorted by it follow the Z curve.
unsigned zOrder(int x, int z) {
  unsigned key = 0;
  for (int bit = 0; bit < 16; ++bit)
    key |= ((unsigned(x) >> bit & 1u) << (2 * bit)) | ((unsigned(z) >> bit & 1u) << (2 * bit + 1));
  return key;
}

// A grid point.
struct GridPoint {
  int x, z;
};

// Writes one block: its vertices on first use, its cells one by one, leaving
// out the triangles the road covers.
class BlockWriter {
 public:
  BlockWriter(MeshBuilder& mesh, int material, const std::function<int(int, int)>& vertex,
              const std::function<bool(int, int)>& covered, int bx, int bz)
      : mesh_(mesh), material_(material), vertex_(vertex), covered_(covered), x0_(bx * kTerrainBlockCells),
        z0_(bz * kTerrainBlockCells), ids_(size_t((kTerrainBlockCells + 1) * (kTerrainBlockCells + 1)), -1) {}

  // The cell of `size` base cells at grid point (gx, gz); `steps` gives the
  // spacing of points along its south, east, north and west edges.
  void cell(int gx, int gz, int size, const int steps[4]) {
    // The boundary, counter-clockwise seen from above, from the south-west corner.
    const GridPoint corners[5] = {{gx, gz}, {gx + size, gz}, {gx + size, gz + size}, {gx, gz + size}, {gx, gz}};
    std::vector<GridPoint> loop;
    for (int edge = 0; edge < 4; ++edge) {
      int dx = corners[edge + 1].x - corners[edge].x, dz = corners[edge + 1].z - corners[edge].z;
      for (int k = 0; k < size; k += steps[edge])
        loop.push_back({corners[edge].x + dx * k / size, corners[edge].z + dz * k / size});
    }
    if (loop.size() == 4) {
      triangle(loop[0], loop[1], loop[2]);
      triangle(loop[0], loop[2], loop[3]);
      return;
    }
    const GridPoint centre{gx + size / 2, gz + size / 2};
    for (size_t k = 0; k < loop.size(); ++k) triangle(centre, loop[k], loop[(k + 1) % loop.size()]);
  }

 private:
  int id(const GridPoint& p) {
    int& slot = ids_[size_t((p.z - z0_) * (kTerrainBlockCells + 1) + (p.x - x0_))];
    if (slot < 0) slot = vertex_(p.x, p.z);
    return slot;
  }

  // A triangle whose front faces up, whatever order its corners came in;
  // none where the road covers all three corners.
  void triangle(const GridPoint& p, const GridPoint& q, const GridPoint& r) {
    if (covered_(p.x, p.z) && covered_(q.x, q.z) && covered_(r.x, r.z)) return;
    int a = id(p), b = id(q), c = id(r);
    const Vec3& pa = mesh_.vertices[size_t(a)].position;
    const Vec3& pb = mesh_.vertices[size_t(b)].position;
    const Vec3& pc = mesh_.vertices[size_t(c)].position;
    if (cross(pb - pa, pc - pa).y >= 0.0)
      mesh_.addTriangle(material_, a, b, c);
    else
      mesh_.addTriangle(material_, a, c, b);
  }

  MeshBuilder& mesh_;
  int material_;
  const std::function<int(int, int)>& vertex_;
  const std::function<bool(int, int)>& covered_;
  int x0_, z0_;
  std::vector<int> ids_;  // vertex of each of the block's grid points, -1 before first use
};

}  // namespace

int terrainBlockLevel(const TerrainGrid& grid, int bx, int bz) {
  const int side = grid.cells + 1;
  auto at = [&](const std::vector<double>& values, int gx, int gz) { return values[size_t(gz * side + gx)]; };
  const int x0 = bx * kTerrainBlockCells, z0 = bz * kTerrainBlockCells;
  double nearest = 1e30;
  for (int gz = z0; gz <= z0 + kTerrainBlockCells; ++gz)
    for (int gx = x0; gx <= x0 + kTerrainBlockCells; ++gx) nearest = std::min(nearest, at(grid.roadDistance, gx, gz));
  int level = 0;
  while (level < kLevels && nearest >= kLevelReach[level]) ++level;
  // Coarser cells only where their two triangles (split from the south-west
  // corner to the north-east one) pass close to every point they span.
  for (; level > 0; --level) {
    const int size = 1 << level;
    double worst = 0.0;
    for (int cz = z0; cz < z0 + kTerrainBlockCells; cz += size) {
      for (int cx = x0; cx < x0 + kTerrainBlockCells; cx += size) {
        double h00 = at(grid.height, cx, cz), h10 = at(grid.height, cx + size, cz);
        double h01 = at(grid.height, cx, cz + size), h11 = at(grid.height, cx + size, cz + size);
        for (int j = 0; j <= size; ++j) {
          for (int i = 0; i <= size; ++i) {
            double u = double(i) / size, v = double(j) / size;
            double flat = u >= v ? h00 + u * (h10 - h00) + v * (h11 - h10) : h00 + v * (h01 - h00) + u * (h11 - h01);
            worst = std::max(worst, std::fabs(flat - at(grid.height, cx + i, cz + j)));
          }
        }
      }
    }
    if (worst <= kTerrainTolerance) break;
  }
  return level;
}

void addTerrainMesh(const TerrainGrid& grid, double hiddenDistance, MeshBuilder& mesh, int material,
                    const std::function<int(int gx, int gz)>& vertex) {
  assert(grid.cells % kTerrainBlockCells == 0 && "the grid must be whole blocks");
  const int side = grid.cells + 1;
  const int blocks = grid.cells / kTerrainBlockCells;
  auto distance = [&](int gx, int gz) { return grid.roadDistance[size_t(gz * side + gx)]; };
  std::vector<int> level(size_t(blocks * blocks));
  std::vector<std::pair<unsigned, int>> order;
  for (int bz = 0; bz < blocks; ++bz) {
    for (int bx = 0; bx < blocks; ++bx) {
      level[size_t(bz * blocks + bx)] = terrainBlockLevel(grid, bx, bz);
      order.emplace_back(zOrder(bx, bz), bz * blocks + bx);
    }
  }
  std::sort(order.begin(), order.end());
  const std::function<bool(int, int)> covered = [&](int gx, int gz) { return distance(gx, gz) < hiddenDistance; };
  // The level of the block at (bx, bz); `own` past the grid's edge.
  auto levelAt = [&](int bx, int bz, int own) {
    if (bx < 0 || bz < 0 || bx >= blocks || bz >= blocks) return own;
    return level[size_t(bz * blocks + bx)];
  };
  for (const std::pair<unsigned, int>& entry : order) {
    const int bx = entry.second % blocks, bz = entry.second / blocks;
    const int own = level[size_t(entry.second)];
    const int size = 1 << own;
    // Edge spacing where a cell meets the neighbouring block: the finer of the two.
    const int across[4] = {1 << std::min(own, levelAt(bx, bz - 1, own)), 1 << std::min(own, levelAt(bx + 1, bz, own)),
                           1 << std::min(own, levelAt(bx, bz + 1, own)), 1 << std::min(own, levelAt(bx - 1, bz, own))};
    BlockWriter writer(mesh, material, vertex, covered, bx, bz);
    const int last = kTerrainBlockCells - size;
    for (int cz = 0; cz <= last; cz += size) {
      for (int cx = 0; cx <= last; cx += size) {
        const int gx = bx * kTerrainBlockCells + cx, gz = bz * kTerrainBlockCells + cz;
        const int steps[4] = {cz == 0 ? across[0] : size, cx == last ? across[1] : size,
                              cz == last ? across[2] : size, cx == 0 ? across[3] : size};
        writer.cell(gx, gz, size, steps);
      }
    }
  }
}
