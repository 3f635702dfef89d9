#include "tests/vehicle_test_track.h"
#include "vehicle/car.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

constexpr int kTerrainCells = 158;  // 2 * 158^2 = 49,928 triangles
constexpr double kTerrainSize = 400.0;
constexpr int kWaveCells = 20;      // the terrain repeats every 20 cells
constexpr int kWrapCells = 100;     // five waves: the car is moved back by this much

double cellSize() { return kTerrainSize / kTerrainCells; }

double terrainHeight(double x, double z) {
  double k = 2.0 * M_PI / (kWaveCells * cellSize());
  return 0.4 * std::sin(x * k) * std::cos(z * k);
}

void addTerrain(TestTrack& track) {
  double step = cellSize();
  for (int i = 0; i < kTerrainCells; ++i) {
    for (int j = 0; j < kTerrainCells; ++j) {
      double x0 = -kTerrainSize / 2 + i * step, x1 = x0 + step;
      double z0 = -kTerrainSize / 2 + j * step, z1 = z0 + step;
      Vec3 a(x0, terrainHeight(x0, z0), z0), b(x0, terrainHeight(x0, z1), z1);
      Vec3 c(x1, terrainHeight(x1, z0), z0), d(x1, terrainHeight(x1, z1), z1);
      track.addTriangle(0, a, b, c);
      track.addTriangle(0, d, c, b);
    }
  }
}

// Moves the car and its wheels by a whole number of terrain repeats, so that it
// drives on indefinitely over ground that looks the same.
void shiftCar(PhCar& car, const Vec3& by) {
  car.current.position += by;
  car.previous.position += by;
  for (CarWheel& w : car.wheels) {
    w.hub += by;
    w.previous.hub += by;
  }
}

void keepOnTrack(PhCar& car, double span) {
  const Vec3& p = car.current.position;
  if (p.z < -span / 2) shiftCar(car, Vec3(0.0, 0.0, span));
  if (std::fabs(p.x) > span / 2) shiftCar(car, Vec3(p.x > 0.0 ? -span : span, 0.0, 0.0));
}

// One world step (the car's step and integration) at full throttle, warmed up for
// ten seconds before timing.
void runDrive(benchmark::State& state, TestTrack& track, double span) {
  track.press(kKeyThrottle, true);
  for (int i = 0; i < 750; ++i) {
    track.world.step();
    keepOnTrack(*track.car, span);
  }
  for (auto _ : state) {
    track.world.step();
    keepOnTrack(*track.car, span);
    benchmark::DoNotOptimize(track.car->current.position);
  }
  state.counters["kmh"] = kmh(track.car->current.velocity);
}

void BM_CarTickLevelGround(benchmark::State& state) {
  TestTrack track;
  track.addSquare(0, -200.0, -200.0, 200.0, 200.0, 0.0);
  track.build(Vec3(0.0, 0.7, 0.0));
  runDrive(state, track, kWrapCells * cellSize());
}
BENCHMARK(BM_CarTickLevelGround);

void BM_CarTickTerrain50k(benchmark::State& state) {
  TestTrack track;
  addTerrain(track);
  track.build(Vec3(0.0, 1.2, 0.0));
  state.counters["triangles"] = double(track.mesh.positions.size() / 9);
  runDrive(state, track, kWrapCells * cellSize());
}
BENCHMARK(BM_CarTickTerrain50k);

}  // namespace
