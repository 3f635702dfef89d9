#include "vehicle/tyres.h"

#include "vehicle/car.h"
#include "vehicle/noise_table.h"

#include <cmath>

namespace {

constexpr double kFalloff = 0.006000000052154064;  // the single-precision 0.006 widened

// Motion of the body-fixed point under the contact over the tick before and the
// tick after, so that the patch speed includes the body's rotation.
// `next` is the orientation one tick ahead.
Vec3 patchVelocity(const PhCar& car, const Mat4& next, const Vec3& contact, Vec3& bodyPoint) {
  const BodyState& now = car.current;
  bodyPoint = worldToLocal(now.orientation, contact, now.position);
  Vec3 before = localToWorld(car.previous.orientation, bodyPoint, car.previous.position);
  Vec3 after = localToWorld(next, bodyPoint, now.position + now.velocity);
  double travel = length(after - contact) + length(contact - before);
  Vec3 direction = after - before;
  normalizeGuarded(direction);
  return direction * (travel * 0.5);
}

// gripRatio^exponent for an exponent of at least 0.5; a tyre that holds (1) or
// carries nothing (0) gives its own value without the cost of pow.
double gripFollow(float gripRatio, double exponent) {
  if (gripRatio == 1.0f || gripRatio == 0.0f) return gripRatio;
  return std::pow(double(gripRatio), exponent);
}

// The rear axle shares its speed between the two rear wheels by the differential
// split; the wheels' own tread speeds go into the axle sum first.
void driveRearWheel(PhCar& car, int i, CarWheel& w) {
  double share = i == kRearLeft ? double(car.diffSplit) : 1.0 - car.diffSplit;
  car.tick.axle += share * w.surfaceSpeed;
  w.surfaceSpeed = float(2.0 * share * car.driveSpeed);
}

// Fraction of a demand delivered along its own direction; no demand is no slide.
float deliveredRatio(const Vec3& delivered, const Vec3& demand) {
  double size = length(demand);
  if (size == 0.0) return 1.0f;
  return float(dot(delivered, demand * (1.0 / size)) / size);
}

}  // namespace

void tyrePass(PhCar& car) {
  const Mat4& rotation = car.current.orientation;
  const Vec3 zero(0.0, 0.0, 0.0);
  const double mass = car.mass;
  const double totalLoad = car.tick.totalLoad;
  car.tick.axle = 0.0;
  Mat4 next = rotation;
  rotateBy(next, car.current.angularStep);
  // The wheel's heading in body coordinates, worked out again only when the angle
  // differs from the previous wheel's: the rear wheels stand straight (sin 0 and
  // cos 0 are exact) and both front wheels share one angle.
  float headingAngle = 0.0f;
  Vec3 heading(0.0, 0.0, 1.0);

  for (int i = 0; i < 4; ++i) {
    CarWheel& w = car.wheels[i];
    const Vec3& contact = car.tick.contactPoint[i];
    const Vec3& normal = car.tick.contactNormal[i];
    const float load = car.tick.suspensionForce[i];

    Vec3 bodyPoint;
    Vec3 patch = patchVelocity(car, next, contact, bodyPoint);
    w.bumpPhase = wrapNoisePhase(w.bumpPhase + length(patch) * 2.5);

    double share = totalLoad == 0.0 ? 0.0 : load / totalLoad;
    float frictionLimit = w.surface != 0 ? float(double(load) * double(0.7f)) : load;
    if (totalLoad == 0.0) {
      frictionLimit = 0.0f;
      w.gripRatio = 0.0f;
    }

    if (w.steerAngle != headingAngle) {
      headingAngle = w.steerAngle;
      heading = Vec3(std::sin(double(headingAngle)), 0.0, std::cos(double(headingAngle)));
    }
    Vec3 forward = localToWorld(rotation, heading, zero);
    Vec3 sideAxis = cross(forward, normal);
    Vec3 rollAxis = cross(normal, sideAxis);

    // The tread follows the ground as far as the tyre grips; with the throttle
    // open a sliding tread is freer to spin.
    double follow = gripFollow(w.gripRatio, double(car.throttle) * double(0.6f) + double(0.5f));
    w.surfaceSpeed = float(w.surfaceSpeed + (dot(patch, rollAxis) - w.surfaceSpeed) * follow);

    double historySum = 0.0;
    for (int k = 0; k < kSpeedHistoryLength - 1; ++k) {
      w.speedHistory[k] = w.speedHistory[k + 1];
      historySum += w.speedHistory[k];
    }
    w.speedHistory[kSpeedHistoryLength - 1] = w.surfaceSpeed;
    historySum += w.surfaceSpeed;
    car.tick.meanSpeed[i] = float(double(0.2f) * historySum);
    if (i == kRearLeft || i == kRearRight) driveRearWheel(car, i, w);
    w.surfaceSpeed = float(double(w.surfaceSpeed) * (1.0 - w.brake));

    // The force that would stop the patch sliding within one tick, this wheel's share of the mass.
    // An unloaded tyre stands in a unit demand that its zero limit cuts to nothing.
    Vec3 lateral(1.0, 1.0, 1.0);
    Vec3 rolling(1.0, 1.0, 1.0);
    Vec3 tyreForce(1.0, 1.0, 1.0);
    if (share != 0.0) {
      lateral = sideAxis * dot(-patch, sideAxis) * mass * share;
      rolling = rollAxis * (dot(-patch, rollAxis) + w.surfaceSpeed) * mass * share;
      tyreForce = lateral + rolling;
    }
    double demand = length(tyreForce);
    if (demand > frictionLimit) {
      w.gripRatio = float(frictionLimit / demand);
      // A sliding tyre delivers less than its limit the further the demand exceeds it.
      tyreForce = tyreForce * (1.0 / demand) * double(frictionLimit) * (1.0 / ((demand - frictionLimit) * kFalloff + 1.0));
    } else {
      w.gripRatio = 1.0f;
    }
    w.lateralRatio = deliveredRatio(tyreForce, lateral);
    w.longitudinalRatio = deliveredRatio(tyreForce, rolling);

    Vec3 spring(0.0, load, 0.0);
    car.force += localToWorld(rotation, spring, zero);
    car.torque += cross(spring, w.mount);
    car.force += tyreForce;
    car.torque += cross(worldToLocal(rotation, tyreForce, zero), bodyPoint);

    double spinStep = double(w.surfaceSpeed) * double(2.8f);
    w.spin = float(i == kRearRight || i == kFrontRight ? w.spin + spinStep : w.spin - spinStep);
  }
}
