#include "game/laps/proof_drive.h"

#include "game/prop_file.h"
#include "physics/random.h"
#include "vehicle/car.h"
#include "vehicle/car_state.h"
#include "vehicle/noise_table.h"

#include <cstring>

namespace {

// The recovery point and its heading relative to the start heading.
const Vec3 kRecoveryPoint(-71.0, 0.5, 133.0);
constexpr float kRecoveryYawOffset = 170.0f;
// The shared generator's seed when start-up builds the car.
constexpr uint32_t kStartupSeed = 345;

const Vec3 kZero(0.0, 0.0, 0.0);

void putCar(PhCar& car, const Vec3& position, float yaw) {
  car.current.position = position;
  car.current.velocity = kZero;
  car.current.orientation = yawPitchMat4(yaw, 0.0f);
  car.current.angularStep = identityMat4();
  car.SavePrevious();
  car.reset();
}

struct StateHasher {
  const PhCar& car;
  uint64_t h = 1469598103934665603ull;

  void bytes(const void* data, size_t size) {
    const uint8_t* p = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < size; ++i) h = (h ^ p[i]) * 1099511628211ull;
  }
  void operator()(const bool& v, const bool&) {
    uint8_t b = v ? 1 : 0;
    bytes(&b, 1);
  }
  void operator()(const float& v, const float&) {
    if (&v == &car.blowOff || &v == &car.shakePhaseA || &v == &car.shakePhaseB) return;
    bytes(&v, sizeof(v));
  }
  void operator()(const int32_t& v, const int32_t&) { bytes(&v, sizeof(v)); }
  void operator()(const double& v, const double&) { bytes(&v, sizeof(v)); }
  void operator()(const Vec3& v, const Vec3&) {
    bytes(&v.x, 8);
    bytes(&v.y, 8);
    bytes(&v.z, 8);
  }
  void operator()(const Mat4& v, const Mat4&) { bytes(v.m, sizeof(v.m)); }
};

}  // namespace

void placeAtStandingStart(PhCar& car, ProofStart start, const Vec3& startPosition, float startHeading) {
  Vec3 spot = restartPosition(startPosition, startHeading);
  if (start == ProofStart::Restart) {
    putCar(car, spot, startHeading);
    return;
  }
  car.current.position = spot;
  car.current.orientation = yawPitchMat4(startHeading, 0.0f);
}

void placeAtRecoveryPoint(PhCar& car, float startHeading) {
  putCar(car, kRecoveryPoint, startHeading + kRecoveryYawOffset);
}

uint64_t proofStateHash(const PhCar& car) {
  StateHasher hasher{car};
  visitCarState(car, car, hasher);
  return hasher.h;
}

CarNoiseTable::CarNoiseTable() {
  std::memcpy(saved_, noiseTable, sizeof(saved_));
  seed_ = randomState();
  seedRandom(kStartupSeed);
  buildNoiseTable();
}

CarNoiseTable::~CarNoiseTable() {
  std::memcpy(noiseTable, saved_, sizeof(saved_));
  seedRandom(seed_);
}
