#include "vehicle/controls.h"

#include "app/input_device.h"
#include "vehicle/car.h"

#include <algorithm>
#include <cmath>

namespace {

bool held(const PhCar& car, int key) { return car.input != nullptr && car.input->isDown(key); }

bool analogMode(const PhCar& car) { return car.input != nullptr && car.input->isAnalog(); }

double axisReading(const PhCar& car, int n) { return car.input != nullptr ? car.input->axis(n) : 0.0; }

float clampTo(double value, double low, double high) { return float(std::min(std::max(value, low), high)); }

// How fast the throttle closes when the driver lets go: nothing near idle, up to
// 0.1 per tick at high revs.
double throttleRelease(const PhCar& car) {
  double predicted = double(car.rpmRate) * 10.0 + car.rpm;
  return std::min(std::max((predicted - double(1000.0f)) * double(0.001f), 0.0), double(0.1f));
}

// Closing the throttle on a built-up boost vents it through the blow-off valve.
void blowOffBoost(PhCar& car) {
  car.blowOff = float(double(car.boost) * double(0.05f));
  car.boost = 0.0f;
}

// The counter-steer angle: minus the body's slip angle, faded in above walking pace.
double counterSteerAssist(const PhCar& car) {
  Vec3 u = worldToLocal(car.current.orientation, car.current.velocity, Vec3(0.0, 0.0, 0.0));
  u.y = 0.0;
  Vec3 n = u;
  normalizeGuarded(n);
  // Normalizing by a rounded reciprocal can leave |n.x| a hair above 1, where asin has no value.
  double slip = -std::asin(std::min(std::max(n.x, -1.0), 1.0));
  double s = 10.0 * length(u) - 0.2;
  double weight = s <= 0.0 ? 0.0 : std::min(s, 1.0);
  return slip * weight;
}

}  // namespace

void applyClutch(PhCar& car) {
  if (held(car, kKeyClutch)) {
    car.clutch = clampTo(double(car.clutch) - double(0.05f), 0.0, 1.0);
  } else if (car.shiftTimer == 0) {
    car.clutch = clampTo(double(car.clutch) + double(0.01f), 0.0, 1.0);
  }
  // The engine cannot stall: below 1200 rpm the clutch opens.
  if (car.rpm < 1200.0f) car.clutch = clampTo(double(car.clutch) - double(0.1f), 0.0, 1.0);
  if (double(car.rpmRate) * 10.0 + car.rpm < double(1000.0f)) {
    car.throttle = clampTo(double(car.throttle) + double(0.01f), 0.0, 1.0);
  }
}

void applyThrottle(PhCar& car) {
  bool analog = analogMode(car);
  double release = throttleRelease(car);
  if (held(car, kKeyThrottle) || held(car, kPadThrottle)) {
    car.throttle = clampTo(double(car.throttle) + double(0.1f), 0.0, 1.0);
    car.boost = float(std::min(double(car.boost) + double(car.throttle) * double(0.7f), double(20.0f)));
    car.boostActive = true;
  } else if (!analog) {
    if (car.boost > 5.0f && car.boostActive) blowOffBoost(car);
    car.boostActive = false;
    car.throttle = clampTo(double(car.throttle) - release, 0.0, 1.0);
  }
  if (!analog) return;

  if (car.boost > 5.0f && car.throttle < 0.3f) blowOffBoost(car);
  if (car.throttle > 0.3f) {
    car.boostActive = true;
    car.boost = float(double(car.boost) + (double(car.throttle) - double(0.3f)));
  } else {
    car.boostActive = false;
  }
  double boost = std::min(double(car.boost), double(20.0f));
  car.boost = float(std::max(boost - (1.0 - double(car.throttle)) * double(0.3f), 0.0));
  // Stick forward is negative; the stick only takes the throttle over when it asks
  // for more than it has, or once the engine is off idle, and never during a change.
  double wanted = axisReading(car, 1) * double(-1.4f);
  double throttle = car.throttle;
  if ((wanted > throttle || car.rpm > 1000.0f) && car.shiftTimer == 0) {
    throttle = wanted;
  } else {
    throttle -= release;
  }
  car.throttle = clampTo(throttle, 0.0, 1.0);
}

void applyFootBrake(PhCar& car) {
  bool analog = analogMode(car);
  // Braking builds up fast from standstill and slowly at speed.
  double speedFactor = length(car.current.velocity) * 500.0 + 1.0;
  double brake = car.footBrake;
  if (held(car, kKeyBrake) || held(car, kPadBrake)) {
    brake = (0.2 / speedFactor + brake) * double(1.07f);
  } else if (!analog) {
    brake -= double(0.05f);
  }
  if (analog) brake = axisReading(car, 1) * double(3.5f) / speedFactor;
  car.footBrake = clampTo(brake, 0.0, 1.0);
  // Both front tyres locking: ease off.
  float frontGrip = std::max(car.wheels[kFrontLeft].longitudinalRatio, car.wheels[kFrontRight].longitudinalRatio);
  if (frontGrip < 0.6f) car.footBrake = float(double(car.footBrake) * double(0.85f));
}

void applySteering(PhCar& car) {
  bool analog = analogMode(car);
  double speed = length(car.current.velocity);
  double assist = counterSteerAssist(car);
  double rate = 0.001 / (speed * 5.0 + 1.0);
  bool right = held(car, kKeyRight) || held(car, kPadRight);
  bool left = held(car, kKeyLeft) || held(car, kPadLeft);

  if (!analog) {
    rate *= double(0.6f);
    // Steering against the current angle turns twice as fast.
    if (right) {
      car.steerRate = float(car.steerRate - rate);
      if (car.steer > 0.0f) car.steerRate = float(car.steerRate - rate);
    }
    if (left) {
      car.steerRate = float(car.steerRate + rate);
      if (car.steer < 0.0f) car.steerRate = float(car.steerRate + rate);
    }
  } else {
    car.steer = float(axisReading(car, 0) * rate * double(-200.0f));
  }

  if (!analog && !right && !left) {
    if (std::fabs(car.steer) < 0.04f) {
      car.steer = float(double(car.steer) * double(0.9f));
      car.steerRate = float(double(car.steerRate) * double(0.9f));
    } else {
      // Self-centring: brake the steering rate so that the wheel returns to the
      // middle without overshooting, looking twelve ticks ahead.
      if (double(car.steerRate) * 12.0 + car.steer > 0.0) car.steerRate = float(car.steerRate - 2.0 * rate);
      if (double(car.steerRate) * 12.0 + car.steer < 0.0) car.steerRate = float(car.steerRate + 2.0 * rate);
      car.steer = float(double(car.steer) * double(0.96f));
    }
  }

  // Both front tyres sliding sideways: the driver unwinds, less so while the assist works.
  double frontLateral = std::max(car.wheels[kFrontLeft].lateralRatio, car.wheels[kFrontRight].lateralRatio);
  if (frontLateral < 0.2f) {
    double f = 1.0 - (double(0.9f) - frontLateral) * double(0.2f) / (std::fabs(assist) * double(5.0f) + 1.0);
    car.steer = float(car.steer * f);
    car.steerRate = float(car.steerRate * f);
  }

  car.tick.assist = float(assist);
  car.tick.feedback = float(speed * assist * 10.0);
  double out = assist + car.steer;
  if (out > double(0.75f)) {
    out = 0.75f;
    if (car.steerRate > 0.0f) car.steerRate = 0.0f;
  } else if (out < -double(0.75f)) {
    out = -0.75f;
    if (car.steerRate < 0.0f) car.steerRate = 0.0f;
  }
  car.tick.steerAngleOut = float(out);
  car.steer = float(double(car.steer) + car.steerRate);
}

void applyWheelBrakes(PhCar& car) {
  bool handbrake = held(car, kKeyHandbrake) || held(car, kPadHandbrake);
  for (int i : {kRearLeft, kRearRight}) {
    CarWheel& w = car.wheels[i];
    double brake = handbrake ? double(w.brake) * double(1.08f) + double(0.00108f) : double(car.footBrake);
    w.brake = float(std::min(brake, 1.0));
  }
  car.wheels[kFrontLeft].brake = car.footBrake;
  car.wheels[kFrontRight].brake = car.footBrake;
}
