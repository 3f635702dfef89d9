#include "game/laps/ghost_car.h"

#include "app/log.h"
#include "game/laps.h"
#include "game/laps/car_noise_table.h"
#include "physics/contact.h"
#include "physics/random.h"
#include "vehicle/car.h"
#include "vehicle/noise_table.h"

#include <cstring>

namespace {

double distanceToLine(const Vec3& p, const Vec3& a, const Vec3& b) {
  return length(p - closestPointOnSegment(a, b, p));
}

}  // namespace

GhostCar::GhostCar() {
  // A car's construction redraws the shared noise table and reseeds the
  // generator; the player's car must go on reading exactly what it had.
  float noise[256];
  std::memcpy(noise, noiseTable, sizeof(noise));
  uint32_t seed = randomState();
  car = new PhCar();
  std::memcpy(noiseTable, noise, sizeof(noise));
  seedRandom(seed);
  car->world = &world;
  car->input = &input;
  world.addBody(car);
}

GhostCar::~GhostCar() {
  bool logging = loggingOn();
  setLogging(false);
  delete car;
  setLogging(logging);
}

void startGhost(GhostCar& ghost, const GhostLap& lap, CollisionQuadtree* tree) {
  ghost.world.attachTree(tree);
  applyCarState(lap.start, *ghost.car);
  ghost.lap = &lap;
  ghost.ticksDone = 0;
  ghost.running = !lap.inputs.empty() && lap.inputs.size() == lap.poses.size();
  ghost.diverged = false;
}

bool stepGhost(GhostCar& ghost) {
  if (!ghost.running) return false;
  const GhostLap& lap = *ghost.lap;
  uint32_t k = ghost.ticksDone;
  applyGhostInput(lap.inputs[k], ghost.input, *ghost.car);
  ghost.world.step();
  if (!samePose(captureGhostPose(*ghost.car), lap.poses[k])) ghost.diverged = true;
  ghost.ticksDone = k + 1;
  if (ghost.ticksDone >= lap.inputs.size()) ghost.running = false;
  return true;
}

void stopGhost(GhostCar& ghost) { ghost.running = false; }

bool verifyGhostLap(GhostCar& ghost, const GhostLap& lap, CollisionQuadtree* tree, const Vec3& lineA,
                    const Vec3& lineB, std::string& why) {
  if (distanceToLine(lap.start.current.position, lineA, lineB) >= kLineTouchDistance) {
    why = "does not start on the start line";
    return false;
  }
  startGhost(ghost, lap, tree);
  // As the lap timer sees it: touching the line starts the lap and latches it
  // until the car has been far away.
  bool latched = true;
  bool touched = false;
  while (stepGhost(ghost)) {
    if (ghost.diverged) {
      why = "does not replay: tick " + std::to_string(ghost.ticksDone) + " leaves its recorded pose";
      stopGhost(ghost);
      return false;
    }
    double d = distanceToLine(ghost.car->current.position, lineA, lineB);
    if (d < kLineTouchDistance && !latched) {
      latched = true;
      touched = true;
      if (ghost.ticksDone < lap.inputs.size()) {
        why = "touches the start line at tick " + std::to_string(ghost.ticksDone) + ", before its end";
        stopGhost(ghost);
        return false;
      }
    }
    if (d > kLineRearmDistance) latched = false;
  }
  if (!touched) {
    why = "does not end on the start line";
    return false;
  }
  return true;
}
