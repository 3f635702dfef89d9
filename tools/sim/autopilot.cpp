#include "tools/sim/autopilot.h"

#include "game/tick.h"
#include "vehicle/car.h"

#include <algorithm>
#include <cmath>

namespace {

// Front to rear axle, m: the mounts stand 1.17 m either side of the centre.
constexpr double kWheelbase = 2.34;
// How far the front wheels turn per unit of stick at speed v (m/tick): the
// car's analog steering scales the stick by 0.2 / (5 v + 1).
constexpr double kStickSteer = 0.2;
constexpr double kStickSteerSpeedFactor = 5.0;
// Points searched behind and ahead of the last nearest point each tick.
constexpr int kSearchBehind = 10;
constexpr int kSearchAhead = 40;
constexpr double kStickRange = 1000.0;

int toStick(double v) {
  return int(std::lround(std::clamp(v, -1.0, 1.0) * kStickRange));
}

}  // namespace

StickReading Autopilot::drive(const PhCar& car) {
  const TrackLine& tl = *line;
  const Vec3& pos = car.current.position;
  nearest = tracking ? nearestPointNear(tl, pos, nearest, kSearchBehind, kSearchAhead)
                     : nearestPoint(tl, pos);
  tracking = true;

  double speedPerTick = length(car.current.velocity);
  double speed = speedPerTick * double(kTicksPerSecond);  // m/s

  // Steering: pure pursuit of the point one look-ahead distance down the line.
  double lookAhead = tuning.lookAheadBase + tuning.lookAheadPerSpeed * speed;
  size_t target = nearest;
  double base = tl.distance[nearest];
  for (size_t k = 1; k < tl.size(); ++k) {
    size_t i = tl.wrap(long(nearest + k));
    double ahead = tl.distance[i] - base;
    if (ahead < 0.0) ahead += tl.length;
    target = i;
    if (ahead >= lookAhead) break;
  }
  Vec3 local = worldToLocal(car.current.orientation, tl.points[target], pos);
  // Forward is the body's -z, right its +x; alpha > 0 means the point lies left.
  double alpha = std::atan2(-local.x, -local.z);
  double reach = std::max(std::sqrt(local.x * local.x + local.z * local.z), 1.0);
  double wheelAngle = std::atan(2.0 * std::sin(alpha) * kWheelbase / reach);
  double stickX = -wheelAngle * (speedPerTick * kStickSteerSpeedFactor + 1.0) / kStickSteer;

  // Speed: the slowest of every corner ahead, each reachable by braking.
  targetSpeed = 1e9;
  for (size_t k = 0; k < tl.size(); ++k) {
    size_t i = tl.wrap(long(nearest + k));
    double ahead = tl.distance[i] - base;
    if (ahead < 0.0) ahead += tl.length;
    if (ahead > tuning.planningReach) break;
    double kappa = std::max(std::fabs(tl.curvature[i]), 1e-6);
    double cornerSq = tuning.lateralAccel / kappa;
    double v = std::sqrt(cornerSq + 2.0 * tuning.brakingDecel * ahead);
    targetSpeed = std::min(targetSpeed, v);
  }
  // Negative y opens the throttle, positive y brakes. While the rear tyres
  // slide the throttle closes with their grip, or the car drifts wide.
  double stickY = -(targetSpeed - speed) * tuning.speedGain;
  double rearGrip = std::min(car.wheels[kRearLeft].gripRatio, car.wheels[kRearRight].gripRatio);
  double throttleCap = std::clamp((rearGrip - tuning.slideGrip) / (1.0 - tuning.slideGrip), 0.0, 1.0);
  if (stickY < 0.0) stickY = std::max(stickY, -throttleCap);
  return StickReading{toStick(stickX), toStick(stickY)};
}
