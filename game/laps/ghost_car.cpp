#include "game/laps/ghost_car.h"

#include "app/log.h"
#include "game/laps.h"
#include "physics/contact.h"
#include "physics/random.h"
#include "vehicle/car.h"
#include "vehicle/noise_table.h"

#include <cstring>

namespace {

// The 3x3 block of a column-major Mat4.
constexpr int kRotationElements[9] = {0, 1, 2, 4, 5, 6, 8, 9, 10};

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

GhostInput captureGhostInput(const InputDevice& input, const PhCar& car) {
  GhostInput in;
  for (int i = 0; i < kGhostKeyCount; ++i)
    if (input.isDown(kGhostKeyCodes[i])) in.keys |= 1u << i;
  if (input.isAnalog()) in.flags |= kGhostAnalog;
  if (car.turbo) in.flags |= kGhostTurbo;
  if (car.autoGearbox) in.flags |= kGhostAutoGearbox;
  for (int n = 0; n < 3; ++n) in.axes[n] = input.axis(n);
  return in;
}

void applyGhostInput(const GhostInput& recorded, InputDevice& input, PhCar& car) {
  for (int i = 0; i < kGhostKeyCount; ++i) {
    int code = kGhostKeyCodes[i];
    bool down = (recorded.keys & (1u << i)) != 0;
    if (code < 256)
      input.keys[code] = down ? 0x80 : 0;
    else
      input.joystickKeys[code - 256] = down ? 1 : 0;
  }
  input.setAnalog((recorded.flags & kGhostAnalog) != 0);
  for (int n = 0; n < 3; ++n) input.axes[n] = recorded.axes[n];
  car.turbo = (recorded.flags & kGhostTurbo) != 0;
  car.autoGearbox = (recorded.flags & kGhostAutoGearbox) != 0;
}

GhostPose captureGhostPose(const PhCar& car) {
  GhostPose pose;
  pose.position = car.current.position;
  for (int i = 0; i < 9; ++i) pose.rotation[i] = car.current.orientation.m[kRotationElements[i]];
  return pose;
}

bool samePose(const GhostPose& a, const GhostPose& b) {
  return std::memcmp(&a.position, &b.position, sizeof(Vec3)) == 0 &&
         std::memcmp(a.rotation, b.rotation, sizeof(a.rotation)) == 0;
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
