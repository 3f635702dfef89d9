#include "game/car_placement.h"

#include "game/prop_file.h"
#include "vehicle/car.h"

namespace {

// The recovery point, and its heading relative to the start heading.
const Vec3 kRecoveryPoint(-71.0, 0.5, 133.0);
constexpr float kRecoveryYawOffset = 170.0f;

const Vec3 kZero(0.0, 0.0, 0.0);

// The car standing still at `position` facing `yaw`, its controls reset.
void putCar(PhCar& car, const Vec3& position, float yaw) {
  car.current.position = position;
  car.current.velocity = kZero;
  car.current.orientation = yawPitchMat4(yaw, 0.0f);
  car.current.angularStep = identityMat4();
  car.SavePrevious();
  car.reset();
}

}  // namespace

void placeCarAsBuilt(PhCar& car, const Vec3& startPosition, float startHeading) {
  car.current.position = restartPosition(startPosition, startHeading);
  car.current.orientation = yawPitchMat4(startHeading, 0.0f);
}

void placeCarAtRestart(PhCar& car, const Vec3& startPosition, float startHeading) {
  putCar(car, restartPosition(startPosition, startHeading), startHeading);
}

void placeCarAtRecoveryPoint(PhCar& car, float startHeading) {
  putCar(car, kRecoveryPoint, startHeading + kRecoveryYawOffset);
}
