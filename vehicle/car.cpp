#include "vehicle/car.h"

#include "app/input_device.h"
#include "app/log.h"
#include "physics/random.h"
#include "vehicle/aero.h"
#include "vehicle/controls.h"
#include "vehicle/engine.h"
#include "vehicle/gearbox.h"
#include "vehicle/noise_table.h"
#include "vehicle/replay.h"
#include "vehicle/suspension.h"
#include "vehicle/tyres.h"

#include <cstring>

namespace {

// The generator is reseeded after the noise table so that whatever draws next
// sees the same sequence on every run.
constexpr uint32_t kSeedAfterNoise = 2384576;

const float kGearRatios[6] = {-1.0f, 1.0f, 1.8f, 2.7f, 3.5f, 4.1f};

}  // namespace

PhCar::PhCar() {
  // Plain data throughout: start from zero so nothing is ever read unset (reset
  // leaves the newest engine-speed history entry alone).
  std::memset(static_cast<void*>(wheels), 0, sizeof(wheels));
  std::memset(static_cast<void*>(replayFrames), 0, sizeof(replayFrames));
  std::memset(rpmHistory, 0, sizeof(rpmHistory));
  std::memset(static_cast<void*>(&tick), 0, sizeof(tick));
  for (CarWheel& w : wheels) {
    w.matrix = identityMat4();
    w.previous.matrix = identityMat4();
    w.drawn.matrix = identityMat4();
  }
  mass = kCarMass;
  buildNoiseTable();
  seedRandom(kSeedAfterNoise);
  shakePhaseA = 0.0f;
  shakePhaseB = 70.0f;
  reset();
  turbo = false;
  autoGearbox = true;
  replayPlaying = false;
  replayRecording = false;
  replayCursor = 0;
  replayCount = 0;
}

PhCar::~PhCar() {
  logLine("PhCar: Max downforce %.2f kg", double(maxDownforce * 750.0f));
  if (replayRecording) saveReplay(*this, replayPath);
}

void PhCar::reset() {
  for (int i = 0; i < 4; ++i) {
    CarWheel& w = wheels[i];
    bool left = i == kRearLeft || i == kFrontLeft;
    bool rear = i == kRearLeft || i == kRearRight;
    w.mount = Vec3(left ? -double(kMountX) : double(kMountX), double(0.15f),
                   rear ? double(kMountZ) : -double(kMountZ));
    w.suspensionSpeed = 0.0f;
    w.maxLength = kMaxLength;
    w.springRate = kSpringRate;
    w.damperRate = kDamperRate;
    w.radius = kWheelRadius;
    w.brake = 0.0f;
    w.surfaceSpeed = 0.0f;
    for (float& s : w.speedHistory) s = 0.0f;
    w.gripRatio = 1.0f;
    w.lateralRatio = 1.0f;
    w.longitudinalRatio = 1.0f;
    w.suspensionLength = w.maxLength;
    w.load = 0.0f;
    w.bumpPhase = 0.0f;
    w.surface = 0;
    w.spin = 0.0f;
    w.steerAngle = 0.0f;
    // A body-local placeholder until the first step finds the ground; it is taken
    // before the mount is raised to its final height.
    w.hub = w.mount + Vec3(0.0, -double(w.maxLength), 0.0);
    w.mount.y += double(0.1f);
  }
  throttle = 0.0f;
  for (int i = 0; i < kRpmHistoryLength - 1; ++i) rpmHistory[i] = 0.0f;
  rpm = 0.0f;
  rpmRate = 0.0f;
  engineInertia = 0.5f;
  engineFriction = 0.008f;
  engineDamping = 0.2f;
  revLimited = 0;
  clutch = 1.0f;
  gear = 1;
  shiftTimer = 0;
  shiftDeclutchTicks = 10;
  shiftEngageTicks = 30;
  shiftDirection = 0;
  shiftHold = 0;
  for (int i = 0; i < 6; ++i) gearRatios[i] = kGearRatios[i];
  driveSpeed = 0.0f;
  driveSpeedPrevious = 0.0f;
  diffSplit = 0.5f;
  maxDownforce = 0.0f;
  boostActive = false;
  boost = 0.0f;
  blowOff = 0.0f;
  // The car stands braked until the driver lets go.
  footBrake = 1.0f;
  steer = 0.0f;
  steerRate = 0.0f;
}

float PhCar::InertiaAbout(const Vec3&) const { return mass * kInertiaFactor; }

void PhCar::Step() {
  tick.shiftRequest = 0;
  applyClutch(*this);
  applyThrottle(*this);
  applyFootBrake(*this);
  applySteering(*this);
  applyWheelBrakes(*this);
  if (replayPlaying) playReplayFrame(*this);
  applyShiftRequests(*this);
  if (replayRecording) recordReplayFrame(*this);
  runShiftSequence(*this);
  wheels[kFrontLeft].steerAngle = tick.steerAngleOut;
  wheels[kFrontRight].steerAngle = tick.steerAngleOut;
  stepEngine(*this);
  contactPass(*this);
  tyrePass(*this);
  applyForceFeedback(*this);
  updateDifferential(*this);
  applyAerodynamics(*this);
  advanceShakePhases(*this);
  applyGravity(*this);
}
