#include "vehicle/gearbox.h"

#include "app/input_device.h"
#include "vehicle/car.h"

#include <algorithm>

namespace {

bool held(const PhCar& car, int key) { return car.input != nullptr && car.input->isDown(key); }

void startChange(PhCar& car, int direction, int declutchTicks, int engageTicks) {
  car.shiftTimer = 1;
  car.shiftDirection = direction;
  car.shiftDeclutchTicks = declutchTicks;
  car.shiftEngageTicks = engageTicks;
  car.tick.shiftRequest = direction;
}

}  // namespace

void applyShiftRequests(PhCar& car) {
  if (car.shiftHold > 0) --car.shiftHold;
  // Early in a change no new request counts; in the last three quarters of the
  // engage phase a new one may start.
  if (car.shiftTimer > 0 && car.shiftTimer <= car.shiftDeclutchTicks + car.shiftEngageTicks / 4) return;

  double kmhNow = kmh(car.current.velocity);
  bool clutchClosed = car.clutch > 0.5f;
  bool upWanted = car.tick.shiftRequest == 1 || held(car, kKeyShiftUp) || held(car, kPadShiftUp) ||
                  (car.autoGearbox && car.rpm > 6500.0f && kmhNow > 50.0 && clutchClosed);
  bool upStarted = false;
  if (upWanted && car.gear < 5) {
    // After an upshift the automatic downshift waits two seconds.
    car.shiftHold = 150;
    startChange(car, 1, 10, 10);
    upStarted = true;
  }
  bool downWanted = (car.tick.shiftRequest == -1 && !upStarted) || held(car, kKeyShiftDown) ||
                    held(car, kPadShiftDown) ||
                    (car.autoGearbox && car.rpm < 3800.0f && clutchClosed && car.shiftHold == 0);
  if (downWanted && car.gear > 1) startChange(car, -1, 15, 20);
}

void runShiftSequence(PhCar& car) {
  int t = car.shiftTimer;
  if (t <= 0) return;
  int declutch = car.shiftDeclutchTicks;
  int engage = car.shiftEngageTicks;
  if (t == 1 && car.boost > 5.0f && car.boostActive) {
    car.blowOff = float(double(car.boost) * double(0.05f));
    car.boost = 0.0f;
  }
  if (t < declutch) {
    car.clutch = float(std::max(double(car.clutch) - 1.0 / declutch, 0.0));
    if (car.shiftDirection > 0) {
      car.throttle = float(std::max(double(car.throttle) - double(0.3f) * t / declutch, 0.0));
    } else {
      // A throttle blip matches the engine to the lower gear.
      car.throttle = float(std::min(double(car.throttle) + double(0.5f) * t / declutch, 1.0));
    }
  }
  if (t == declutch) car.gear += car.shiftDirection;
  if (t > declutch) {
    car.clutch = float(std::min(double(car.clutch) + double(0.8f) / engage, 1.0));
    car.throttle = float(std::max(double(car.throttle) - double(0.3f) * (declutch - t + engage) / engage, 0.0));
  }
  car.shiftTimer = t + 1 >= declutch + engage ? 0 : t + 1;
}
