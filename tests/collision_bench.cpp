#include "physics/contact.h"
#include "physics/quadtree.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <vector>

namespace {

// A rolling 1 km x 1 km terrain, a grid of `cells` x `cells` squares of two
// triangles each; a road strip along z = 0 is material 0, the rest material 1.
constexpr double kExtent = 1000.0;
constexpr double kRoadHalfWidth = 6.0;

double groundAt(double x, double z) { return 4.0 * std::sin(x * 0.013) * std::cos(z * 0.011) + 0.002 * x; }

struct Terrain {
  int cells = 0;
  std::vector<float> positions;
  std::vector<int32_t> road, field;

  double cellSize() const { return kExtent / cells; }
  int vertex(int i, int j) const { return j * (cells + 1) + i; }
  float height(int i, int j) const { return positions[3 * size_t(vertex(i, j)) + 1]; }

  // The surface height of the triangulated grid (not of groundAt), so probes
  // placed with it sit at a known height over the mesh.
  double surfaceAt(double x, double z) const {
    double gx = (x + kExtent / 2) / cellSize();
    double gz = (z + kExtent / 2) / cellSize();
    int i = int(gx);
    int j = int(gz);
    double fx = gx - i, fz = gz - j;
    if (fx + fz <= 1.0) {
      double a = height(i, j);
      return a + fx * (height(i + 1, j) - a) + fz * (height(i, j + 1) - a);
    }
    double d = height(i + 1, j + 1);
    return d + (1.0 - fx) * (height(i, j + 1) - d) + (1.0 - fz) * (height(i + 1, j) - d);
  }

  CollisionQuadtree* build() const {
    const int counts[2] = {int(road.size() / 3), int(field.size() / 3)};
    const int32_t* lists[2] = {road.data(), field.data()};
    return buildQuadtree(positions.data(), int(positions.size() / 3), 2, counts, lists);
  }
};

Terrain makeTerrain(int cells) {
  Terrain t;
  t.cells = cells;
  for (int j = 0; j <= cells; ++j) {
    for (int i = 0; i <= cells; ++i) {
      double x = -kExtent / 2 + i * t.cellSize();
      double z = -kExtent / 2 + j * t.cellSize();
      t.positions.insert(t.positions.end(), {float(x), float(groundAt(x, z)), float(z)});
    }
  }
  for (int j = 0; j < cells; ++j) {
    for (int i = 0; i < cells; ++i) {
      double x = -kExtent / 2 + (i + 0.5) * t.cellSize();
      std::vector<int32_t>& list = std::fabs(x) < kRoadHalfWidth ? t.road : t.field;
      // Both triangles face up (counter-clockwise seen from +y).
      list.insert(list.end(), {t.vertex(i, j), t.vertex(i, j + 1), t.vertex(i + 1, j)});
      list.insert(list.end(), {t.vertex(i + 1, j), t.vertex(i, j + 1), t.vertex(i + 1, j + 1)});
    }
  }
  return t;
}

const Terrain& terrain(int cells) {
  static std::map<int, Terrain> cache;
  auto it = cache.find(cells);
  if (it == cache.end()) it = cache.emplace(cells, makeTerrain(cells)).first;
  return it->second;
}

// Grid sizes giving about 5k, 50k, 500k and 2M triangles.
void terrainSizes(benchmark::internal::Benchmark* b) {
  for (int cells : {50, 158, 500, 1000}) b->Arg(cells);
  b->Unit(benchmark::kMicrosecond);
}

void BM_QuadtreeBuild(benchmark::State& state) {
  const Terrain& t = terrain(int(state.range(0)));
  for (auto _ : state) {
    CollisionQuadtree* tree = t.build();
    benchmark::DoNotOptimize(tree);
    destroyQuadtree(tree);
  }
  state.counters["triangles"] = double(t.road.size() + t.field.size()) / 3;
}
BENCHMARK(BM_QuadtreeBuild)->Apply(terrainSizes)->Unit(benchmark::kMillisecond);

// One tick of a car standing on the road: a 3 m query around the body, then a
// contact search of radius 0.271 under each of the four wheels.
void BM_TickCollision(benchmark::State& state) {
  const Terrain& t = terrain(int(state.range(0)));
  CollisionQuadtree* tree = t.build();
  const Vec3 body(1.3, t.surfaceAt(1.3, 20.7) + 0.5, 20.7);
  const double wheelOffsets[4][2] = {{-0.75, -1.3}, {0.75, -1.3}, {-0.75, 1.3}, {0.75, 1.3}};
  Vec3 hubs[4];
  for (int k = 0; k < 4; ++k) {
    double x = body.x + wheelOffsets[k][0];
    double z = body.z + wheelOffsets[k][1];
    hubs[k] = Vec3(x, t.surfaceAt(x, z) + 0.25, z);
  }
  int found = 0;
  for (auto _ : state) {
    queryQuadtree(*tree, body, 3.0f);
    for (const Vec3& hub : hubs) {
      Contact c;
      found += nearestContact(*tree, hub, 0.271f, c) ? 1 : 0;
    }
  }
  if (found != 4 * int(state.iterations())) state.SkipWithError("a wheel found no ground");
  state.counters["triangles"] = double(tree->triangleCount);
  state.counters["results"] = double(tree->resultCount);
  destroyQuadtree(tree);
}
BENCHMARK(BM_TickCollision)->Apply(terrainSizes);

}  // namespace
