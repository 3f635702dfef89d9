#include "vehicle/controls.h"

#include "tests/vehicle_test_track.h"
#include "vehicle/car.h"
#include "vehicle/gearbox.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kTol = 1e-6;

// A car on no track, standing still with the controls let go.
struct Controls : ::testing::Test {
  TestTrack track;
  PhCar* car = nullptr;

  void SetUp() override {
    track.build(Vec3(0.0, 0.0, 0.0));
    car = track.car.get();
    car->footBrake = 0.0f;
  }

  void setSpeedKmh(double kmhValue) { car->current.velocity = Vec3(0.0, 0.0, -kmhValue / kKmhPerMetrePerTick); }
};

}  // namespace

TEST_F(Controls, BrakeBuildsUpFromStandstill) {
  track.press(kKeyBrake, true);
  const double expected[] = {0.214, 0.44298, 0.6879886, 0.9501478, 1.0};
  for (double e : expected) {
    applyFootBrake(*car);
    EXPECT_NEAR(car->footBrake, e, kTol);
  }
}


TEST_F(Controls, SteeringRateAtStandstillDoublesWhenCounterSteering) {
  track.press(kKeyRight, true);
  applySteering(*car);
  EXPECT_NEAR(car->steerRate, -0.0006, kTol);
  car->steer = 0.1f;
  car->steerRate = 0.0f;
  applySteering(*car);
  EXPECT_NEAR(car->steerRate, -0.0012, kTol);
  track.press(kKeyRight, false);
  track.press(kKeyLeft, true);
  car->steer = -0.1f;
  car->steerRate = 0.0f;
  applySteering(*car);
  EXPECT_NEAR(car->steerRate, 0.0012, kTol);
}

TEST_F(Controls, SteeringOutputNeverLeavesFullLock) {
  track.press(kKeyLeft, true);
  float widest = 0.0f;
  for (int i = 0; i < 200; ++i) {
    applySteering(*car);
    widest = std::max(widest, car->tick.steerAngleOut);
    EXPECT_LE(car->tick.steerAngleOut, 0.75f);
  }
  EXPECT_EQ(widest, 0.75f);
  EXPECT_EQ(car->steerRate, 0.0f);
  // The assist at full slip adds to the lock but cannot pass it.
  car->current.velocity = Vec3(-0.3, 0.0, 0.0);
  applySteering(*car);
  EXPECT_EQ(car->tick.steerAngleOut, 0.75f);
}


TEST_F(Controls, AutomaticUpshiftNeedsRevsSpeedAndAClosedClutch) {
  car->rpm = 6600.0f;
  car->clutch = 1.0f;
  setSpeedKmh(40.0);
  applyShiftRequests(*car);
  EXPECT_EQ(car->shiftTimer, 0);
  setSpeedKmh(60.0);
  car->clutch = 0.4f;
  applyShiftRequests(*car);
  EXPECT_EQ(car->shiftTimer, 0);
  car->clutch = 1.0f;
  applyShiftRequests(*car);
  EXPECT_EQ(car->shiftTimer, 1);
  EXPECT_EQ(car->shiftDirection, 1);
  EXPECT_EQ(car->shiftHold, 150);
  EXPECT_EQ(car->tick.shiftRequest, 1);
}

TEST_F(Controls, ShiftKeysDoNothingAtTheEndsOfTheGearbox) {
  car->autoGearbox = false;
  car->gear = 5;
  track.press(kKeyShiftUp, true);
  applyShiftRequests(*car);
  EXPECT_EQ(car->shiftTimer, 0);
  track.press(kKeyShiftUp, false);
  car->gear = 1;
  track.press(kKeyShiftDown, true);
  applyShiftRequests(*car);
  EXPECT_EQ(car->shiftTimer, 0);
}

TEST_F(Controls, UpshiftTakesNineteenTicksWithTheClutchNeverFullyOpen) {
  car->autoGearbox = false;
  car->rpm = 3000.0f;
  car->clutch = 1.0f;
  track.press(kKeyShiftUp, true);
  applyShiftRequests(*car);
  track.press(kKeyShiftUp, false);
  float lowest = 1.0f;
  int ticks = 0;
  for (; car->shiftTimer != 0; ++ticks) {
    int t = car->shiftTimer;
    runShiftSequence(*car);
    EXPECT_EQ(car->gear, t >= 10 ? 2 : 1) << t;
    lowest = std::min(lowest, car->clutch);
  }
  EXPECT_EQ(ticks, 19);
  EXPECT_NEAR(lowest, 0.1, kTol);
  EXPECT_NEAR(car->clutch, 0.82, kTol);
}

TEST_F(Controls, DownshiftTakesThirtyFourTicksWithAThrottleBlip) {
  car->autoGearbox = false;
  car->gear = 3;
  car->rpm = 3000.0f;
  track.press(kKeyShiftDown, true);
  applyShiftRequests(*car);
  track.press(kKeyShiftDown, false);
  int ticks = 0;
  float highestThrottle = 0.0f;
  for (; car->shiftTimer != 0; ++ticks) {
    int t = car->shiftTimer;
    runShiftSequence(*car);
    EXPECT_EQ(car->gear, t >= 15 ? 2 : 3) << t;
    highestThrottle = std::max(highestThrottle, car->throttle);
  }
  EXPECT_EQ(ticks, 34);
  EXPECT_EQ(highestThrottle, 1.0f);
}

TEST_F(Controls, HeldShiftKeyStartsTheNextChangeAfterAQuarterOfTheEngagePhase) {
  car->autoGearbox = false;
  car->rpm = 3000.0f;
  track.press(kKeyShiftUp, true);
  int starts = 0;
  int startTicks[2] = {0, 0};
  for (int tick = 1; tick <= 20 && starts < 2; ++tick) {
    car->tick.shiftRequest = 0;
    applyShiftRequests(*car);
    if (car->tick.shiftRequest == 1) startTicks[starts++] = tick;
    runShiftSequence(*car);
  }
  ASSERT_EQ(starts, 2);
  // The first change runs ticks 1..12 before a request counts again (10 + 10 / 4).
  EXPECT_EQ(startTicks[1] - startTicks[0], 12);
  EXPECT_EQ(car->gear, 2);
}



TEST_F(Controls, AnalogStickDrivesThrottleBrakeAndSteeringAndKeysAreIgnored) {
  track.input.setAnalog(true);
  track.input.axes[0] = 0.5f;
  track.input.axes[1] = -0.5f;  // pushed forward
  track.press(kKeyLeft, true);
  applyThrottle(*car);
  applyFootBrake(*car);
  applySteering(*car);
  EXPECT_NEAR(car->throttle, 0.7, kTol);
  EXPECT_EQ(car->footBrake, 0.0f);
  EXPECT_NEAR(car->steer, 0.5 * 0.001 * -200.0, kTol);
  EXPECT_EQ(car->steerRate, 0.0f);
  // Pulled back: the stick brakes and the throttle closes at the release rate.
  track.input.axes[1] = 0.2f;
  applyThrottle(*car);
  applyFootBrake(*car);
  EXPECT_NEAR(car->footBrake, 0.7, kTol);
  EXPECT_NEAR(car->throttle, 0.7, kTol);
}
