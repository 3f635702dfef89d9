#include "game/laps/proof_state.h"

#include "app/fnv1a.h"
#include "vehicle/car.h"
#include "vehicle/car_state.h"

namespace {

struct StateHasher {
  const PhCar& car;
  uint64_t h = kFnv1aOffset;

  void operator()(const bool& v, const bool&) {
    uint8_t b = v ? 1 : 0;
    h = fnv1aAdd(h, &b, 1);
  }
  void operator()(const float& v, const float&) {
    if (&v == &car.blowOff || &v == &car.shakePhaseA || &v == &car.shakePhaseB) return;
    h = fnv1aAdd(h, &v, sizeof(v));
  }
  void operator()(const int32_t& v, const int32_t&) { h = fnv1aAdd(h, &v, sizeof(v)); }
  void operator()(const double& v, const double&) { h = fnv1aAdd(h, &v, sizeof(v)); }
  void operator()(const Vec3& v, const Vec3&) {
    h = fnv1aAdd(h, &v.x, 8);
    h = fnv1aAdd(h, &v.y, 8);
    h = fnv1aAdd(h, &v.z, 8);
  }
  void operator()(const Mat4& v, const Mat4&) { h = fnv1aAdd(h, v.m, sizeof(v.m)); }
};

}  // namespace

uint64_t proofStateHash(const PhCar& car) {
  StateHasher hasher{car};
  visitCarState(car, car, hasher);
  return hasher.h;
}
