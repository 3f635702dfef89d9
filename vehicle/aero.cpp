#include "vehicle/aero.h"

#include "app/input_device.h"
#include "vehicle/car.h"
#include "vehicle/noise_table.h"

#include <algorithm>

namespace {

constexpr double kDrag = 0.4000000059604645;    // the single-precision 0.4 widened
constexpr double kDownforce = 5.0;              // per (m/tick)^2
constexpr double kShakeRateA = 1.2000000476837158;
constexpr double kShakeRateB = 1.5;

}  // namespace

void applyForceFeedback(PhCar& car) {
  double feedback = car.tick.feedback +
                    (double(car.wheels[kFrontRight].load) - car.wheels[kFrontLeft].load) * double(0.2f);
  car.tick.feedback = float(std::min(std::max(feedback, -1.0), 1.0));
  if (car.input != nullptr) car.input->forceFeedback(car.tick.feedback);
}

void applyAerodynamics(PhCar& car) {
  const Vec3& v = car.current.velocity;
  double speed = length(v);
  car.force -= v * speed * kDrag;
  double downforce = speed * speed * kDownforce;
  car.force += localToWorld(car.current.orientation, Vec3(0.0, -downforce, 0.0), Vec3(0.0, 0.0, 0.0));
  // Downforce acts behind the centre: a nose-down moment about the body's x axis.
  car.torque.x += downforce * double(0.15f);
  car.maxDownforce = float(std::max(double(car.maxDownforce), downforce));
}

void advanceShakePhases(PhCar& car) {
  double speed = length(car.current.velocity);
  car.shakePhaseA = wrapNoisePhase(car.shakePhaseA + speed * kShakeRateA);
  car.shakePhaseB = wrapNoisePhase(car.shakePhaseB + speed * kShakeRateB);
}

void applyGravity(PhCar& car) { car.force.y -= double(car.mass) * kGravityPerTick; }
