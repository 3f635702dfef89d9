#pragma once

#include "vehicle/car.h"

#include <cstdint>

// Bumped whenever the car's behaviour changes (any change to its step, its
// parameters or the noise table), in the same commit: a lap recorded by another
// car would no longer drive the same way, and proofs of older versions are
// refused. tests/physics_version_test.cpp holds each version's drive hash and
// fails when the car drives differently under an unchanged version.
constexpr uint32_t kPhysicsVersion = 1;

// Everything of a car that the next ticks read: the body's current and previous
// states, the wheels (but their drawn copies), the controls, the engine and the
// drivetrain, and the tick's working values. Plain data; restoring it into a
// freshly built car makes that car drive on exactly as the captured one would.
// Not included: mass (fixed), the drawn pose, the replay recorder.
struct CarState {
  BodyState current;
  BodyState previous;
  CarWheel wheels[4];

  bool boostActive;
  float blowOff;
  float boost;
  float footBrake;
  float steer;
  float steerRate;
  bool turbo;
  bool autoGearbox;

  float maxDownforce;
  float throttle;
  float rpmHistory[kRpmHistoryLength];
  float rpmAverage;
  float rpmRate;
  float rpm;
  float engineDamping;
  float engineInertia;
  float engineFriction;
  int32_t revLimited;
  float clutch;
  int32_t gear;
  int32_t shiftTimer;
  int32_t shiftDeclutchTicks;
  int32_t shiftEngageTicks;
  int32_t shiftDirection;
  int32_t shiftHold;
  float gearRatios[6];
  float driveSpeed;
  float driveSpeedPrevious;
  float diffSplit;
  float shakePhaseA;
  float shakePhaseB;

  CarTick tick;
};

CarState captureCarState(const PhCar& car);
// The car drives on from `state`; its drawn pose is set to the current one.
void applyCarState(const CarState& state, PhCar& car);

// Calls f(a.field, b.field) for every value of the car state, in one fixed
// order (the order of the declarations above, wheel fields in CarWheel order
// without `drawn`, the tick's values in CarTick order). `A` and `B` are PhCar
// or CarState, const or not. The leaf types f sees are bool, int32_t, float,
// double, Vec3 and Mat4. The ghost file stores a CarState in this order.
template <class A, class B, class F>
void visitCarState(A& a, B& b, F&& f) {
  auto body = [&](auto& x, auto& y) {
    f(x.position, y.position);
    f(x.velocity, y.velocity);
    f(x.orientation, y.orientation);
    f(x.angularStep, y.angularStep);
  };
  auto pose = [&](auto& x, auto& y) {
    f(x.hub, y.hub);
    f(x.matrix, y.matrix);
    f(x.spin, y.spin);
    f(x.steerAngle, y.steerAngle);
    f(x.suspensionLength, y.suspensionLength);
  };
  body(a.current, b.current);
  body(a.previous, b.previous);
  for (int i = 0; i < 4; ++i) {
    auto& x = a.wheels[i];
    auto& y = b.wheels[i];
    pose(x, y);
    pose(x.previous, y.previous);
    f(x.mount, y.mount);
    f(x.suspensionSpeed, y.suspensionSpeed);
    f(x.maxLength, y.maxLength);
    f(x.springRate, y.springRate);
    f(x.damperRate, y.damperRate);
    f(x.radius, y.radius);
    f(x.brake, y.brake);
    f(x.surfaceSpeed, y.surfaceSpeed);
    for (int k = 0; k < kSpeedHistoryLength; ++k) f(x.speedHistory[k], y.speedHistory[k]);
    f(x.gripRatio, y.gripRatio);
    f(x.lateralRatio, y.lateralRatio);
    f(x.longitudinalRatio, y.longitudinalRatio);
    f(x.load, y.load);
    f(x.bumpPhase, y.bumpPhase);
    f(x.surface, y.surface);
  }
  f(a.boostActive, b.boostActive);
  f(a.blowOff, b.blowOff);
  f(a.boost, b.boost);
  f(a.footBrake, b.footBrake);
  f(a.steer, b.steer);
  f(a.steerRate, b.steerRate);
  f(a.turbo, b.turbo);
  f(a.autoGearbox, b.autoGearbox);
  f(a.maxDownforce, b.maxDownforce);
  f(a.throttle, b.throttle);
  for (int k = 0; k < kRpmHistoryLength; ++k) f(a.rpmHistory[k], b.rpmHistory[k]);
  f(a.rpmAverage, b.rpmAverage);
  f(a.rpmRate, b.rpmRate);
  f(a.rpm, b.rpm);
  f(a.engineDamping, b.engineDamping);
  f(a.engineInertia, b.engineInertia);
  f(a.engineFriction, b.engineFriction);
  f(a.revLimited, b.revLimited);
  f(a.clutch, b.clutch);
  f(a.gear, b.gear);
  f(a.shiftTimer, b.shiftTimer);
  f(a.shiftDeclutchTicks, b.shiftDeclutchTicks);
  f(a.shiftEngageTicks, b.shiftEngageTicks);
  f(a.shiftDirection, b.shiftDirection);
  f(a.shiftHold, b.shiftHold);
  for (int k = 0; k < 6; ++k) f(a.gearRatios[k], b.gearRatios[k]);
  f(a.driveSpeed, b.driveSpeed);
  f(a.driveSpeedPrevious, b.driveSpeedPrevious);
  f(a.diffSplit, b.diffSplit);
  f(a.shakePhaseA, b.shakePhaseA);
  f(a.shakePhaseB, b.shakePhaseB);
  auto& t = a.tick;
  auto& u = b.tick;
  f(t.assist, u.assist);
  f(t.steerAngleOut, u.steerAngleOut);
  f(t.feedback, u.feedback);
  f(t.shiftRequest, u.shiftRequest);
  for (int k = 0; k < 4; ++k) f(t.contactPoint[k], u.contactPoint[k]);
  for (int k = 0; k < 4; ++k) f(t.contactNormal[k], u.contactNormal[k]);
  for (int k = 0; k < 4; ++k) f(t.suspensionForce[k], u.suspensionForce[k]);
  f(t.totalLoad, u.totalLoad);
  for (int k = 0; k < 4; ++k) f(t.meanSpeed[k], u.meanSpeed[k]);
  f(t.axle, u.axle);
}
