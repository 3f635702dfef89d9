#include "vehicle/engine.h"

#include "vehicle/car.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kRevLimit = 8000.0f;
constexpr float kRevCutBelow = 7500.0f;  // the latched limiter cuts only above this
constexpr float kRevRelease = 7600.0f;

}  // namespace

float engineTorque(float rpm, bool turbo) {
  if (!turbo) return rpm < 6500.0f ? 120.0f : float(120.0 - (double(rpm) - 6500.0) * double(0.02f));
  // The turbo's curve peaks at 6500 rpm and falls symmetrically beyond it.
  double r = rpm > 6500.0f ? 6500.0 - (double(rpm) - 6500.0) : double(rpm);
  return float(r * r * double(3e-06f) + 120.0);
}

void stepEngine(PhCar& car) {
  int gear = std::min(std::max(int(car.gear), 0), 5);
  double ratio = car.gearRatios[gear];
  double k = kRpmToDriveSpeed;
  double clutch = car.clutch;

  // The clutch pulls the engine toward the axle's speed and rate.
  car.rpm = float(car.rpm + (car.driveSpeed / (ratio * k) - car.rpm) * clutch);
  car.rpmRate =
      float(car.rpmRate + ((double(car.driveSpeed) - double(car.driveSpeedPrevious)) - car.rpmRate) * clutch);

  if (car.revLimited == 0) {
    car.rpmRate = float(car.rpmRate + double(car.throttle) / car.engineInertia * engineTorque(car.rpm, car.turbo));
  }
  car.rpmRate = float(car.rpmRate - double(car.engineFriction) * car.rpm / car.engineInertia);
  car.rpmRate = float(car.rpmRate - double(car.rpmRate) * car.engineDamping / car.engineInertia);
  car.rpm = float(double(car.rpm) + car.rpmRate);

  // Rev limiter: the cut comes first, so the latch closes only when the engine
  // overshoots far enough in one tick to stay above the limit after it.
  if (car.rpm > kRevLimit || car.revLimited == 1) {
    if (car.rpm > kRevCutBelow) {
      car.rpm = float(double(car.rpm) * double(0.9f));
      car.rpmRate = float(double(car.rpmRate) * double(0.9f));
    }
    if (car.rpm > kRevLimit) {
      car.revLimited = 1;
      car.rpmRate = 0.0f;
      car.rpm = kRevLimit;
    }
    if (car.rpm < kRevRelease && car.revLimited == 1) car.revLimited = 0;
  }
  if (car.rpm < 0.0f) {
    car.rpm = 0.0f;
    car.rpmRate = 0.0f;
  }

  double sum = 0.0;
  for (int i = 0; i < kRpmHistoryLength - 1; ++i) {
    car.rpmHistory[i] = car.rpmHistory[i + 1];
    sum += car.rpmHistory[i];
  }
  car.rpmHistory[kRpmHistoryLength - 1] = car.rpm;
  sum += car.rpm;
  car.rpmAverage = float(sum * double(1.0f / 14.0f));

  // The engine pulls the axle toward its own speed, harder in the low gears.
  car.driveSpeedPrevious = car.driveSpeed;
  car.driveSpeed = float(car.driveSpeed + ((car.rpm * ratio * k - car.driveSpeed) / (ratio * ratio)) * clutch);
}

void updateDifferential(PhCar& car) {
  double a0 = std::fabs(car.tick.meanSpeed[kRearLeft]);
  double a1 = std::fabs(car.tick.meanSpeed[kRearRight]);
  double s = a0 + a1;
  car.diffSplit = s > 0.001 && car.tick.totalLoad != 0.0 ? float(a0 / s) : 0.5f;
  // Lean toward the faster-spinning wheel, pulled back toward even by the square
  // of the distance from it (measured from the split as stored).
  double split = car.diffSplit;
  double d = 0.5 - split;
  car.diffSplit = float(d > 0.0 ? split + d * d : split - d * d);
  car.driveSpeed = float(car.tick.axle);
}
