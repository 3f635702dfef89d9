#include "vehicle/engine.h"

#include "tests/vehicle_test_track.h"
#include "vehicle/car.h"

#include <gtest/gtest.h>

namespace {

constexpr double kTol = 1e-6;

struct Engine : ::testing::Test {
  TestTrack track;
  PhCar* car = nullptr;

  void SetUp() override {
    track.build(Vec3(0.0, 0.0, 0.0));
    car = track.car.get();
  }
};

}  // namespace


TEST_F(Engine, OpenClutchLeavesEngineAndAxleIndependent) {
  car->clutch = 0.0f;
  car->throttle = 1.0f;
  car->rpm = 3000.0f;
  car->driveSpeed = -0.2f;
  car->driveSpeedPrevious = -0.1f;
  stepEngine(*car);
  float freeRpm = car->rpm;
  EXPECT_EQ(car->driveSpeed, -0.2f);

  car->rpm = 3000.0f;
  car->rpmRate = 0.0f;
  car->driveSpeed = 0.3f;
  car->driveSpeedPrevious = 0.0f;
  stepEngine(*car);
  EXPECT_EQ(car->rpm, freeRpm);
  EXPECT_EQ(car->driveSpeed, 0.3f);
}

TEST_F(Engine, ClosedClutchTiesTheEngineToTheAxle) {
  car->clutch = 1.0f;
  car->throttle = 0.0f;
  car->engineFriction = 0.0f;
  car->engineDamping = 0.0f;
  car->driveSpeed = -0.06f;
  car->driveSpeedPrevious = -0.06f;
  stepEngine(*car);
  EXPECT_NEAR(car->rpm, 2000.0, 0.001);
  // The axle then follows the engine back to the same speed.
  EXPECT_NEAR(car->driveSpeed, -0.06, kTol);
}

TEST_F(Engine, RevLimiterCutsBeforeItLatches) {
  // Free revving overshoots 8000 by less than the 10% cut: it is cut back, unlatched.
  car->clutch = 0.0f;
  car->throttle = 1.0f;
  float highest = 0.0f;
  for (int i = 0; i < 300; ++i) {
    stepEngine(*car);
    highest = std::max(highest, car->rpm);
    EXPECT_EQ(car->revLimited, 0);
  }
  EXPECT_LE(highest, 8000.0f);
  EXPECT_GT(highest, 7500.0f);

  // A jump past about 8900 rpm in one tick latches at 8000 with no rate.
  car->rpm = 9500.0f;
  car->rpmRate = 0.0f;
  stepEngine(*car);
  EXPECT_EQ(car->revLimited, 1);
  EXPECT_EQ(car->rpm, 8000.0f);
  EXPECT_EQ(car->rpmRate, 0.0f);
  // Without torque, friction, damping and the cut bring it below 7600 in one tick.
  stepEngine(*car);
  EXPECT_EQ(car->revLimited, 0);
  EXPECT_NEAR(car->rpm, (8000.0 - 0.016 * 8000.0 * 0.6) * 0.9, 0.01);
}

TEST_F(Engine, RollingBackInGearNeverGivesNegativeRevs) {
  car->clutch = 1.0f;
  car->throttle = 0.0f;
  car->driveSpeed = 0.03f;
  car->driveSpeedPrevious = 0.03f;
  stepEngine(*car);
  EXPECT_EQ(car->rpm, 0.0f);
  EXPECT_EQ(car->rpmRate, 0.0f);
}


TEST_F(Engine, DifferentialSplitLeansTowardTheFasterWheel) {
  car->tick.totalLoad = 2.0;
  car->tick.axle = -0.25;
  car->tick.meanSpeed[kRearLeft] = -0.3f;
  car->tick.meanSpeed[kRearRight] = -0.1f;
  updateDifferential(*car);
  EXPECT_NEAR(car->diffSplit, 0.6875, kTol);
  EXPECT_EQ(car->driveSpeed, -0.25f);

  car->tick.meanSpeed[kRearRight] = -0.3f;
  updateDifferential(*car);
  EXPECT_EQ(car->diffSplit, 0.5f);

  // No load, or wheels barely turning: even split.
  car->tick.meanSpeed[kRearRight] = -0.1f;
  car->tick.totalLoad = 0.0;
  updateDifferential(*car);
  EXPECT_EQ(car->diffSplit, 0.5f);
  car->tick.totalLoad = 2.0;
  car->tick.meanSpeed[kRearLeft] = 0.0005f;
  car->tick.meanSpeed[kRearRight] = -0.0004f;
  updateDifferential(*car);
  EXPECT_EQ(car->diffSplit, 0.5f);
}
