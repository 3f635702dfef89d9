#include "vehicle/tyres.h"

#include "tests/vehicle_test_track.h"
#include "vehicle/car.h"
#include "vehicle/noise_table.h"
#include "vehicle/suspension.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kTol = 1e-6;
constexpr double kWorkedTol = 0.0001;  // the worked figures are given to four places
constexpr float kRestLoad = 0.5227f;

// A car on level ground at rest load with its patches moving at `velocity`.
struct Tyres : ::testing::Test {
  TestTrack track;
  PhCar* car = nullptr;

  void SetUp() override {
    track.addSquare(0, -50.0, -50.0, 50.0, 50.0, 0.0);
    track.addSquare(1, 50.0, -50.0, 150.0, 50.0, 0.0);
    track.build(Vec3(0.0, 0.3975, 0.0));
    car = track.car.get();
  }

  void slide(const Vec3& velocity, int surface) {
    car->current.velocity = velocity;
    car->previous.position = car->current.position - velocity;
    car->tick.totalLoad = 4.0 * kRestLoad;
    for (int i = 0; i < 4; ++i) {
      CarWheel& w = car->wheels[i];
      car->tick.suspensionForce[i] = kRestLoad;
      car->tick.contactPoint[i] = localToWorld(car->current.orientation, w.mount, car->current.position) -
                                  Vec3(0.0, 0.647, 0.0);
      car->tick.contactNormal[i] = Vec3(0.0, 1.0, 0.0);
      w.surface = surface;
      w.gripRatio = 1.0f;
    }
    car->force = Vec3(0.0, 0.0, 0.0);
    car->torque = Vec3(0.0, 0.0, 0.0);
    tyrePass(*car);
  }
};

}  // namespace

TEST_F(Tyres, SidewaysSlideOnAsphaltMatchesTheWorkedCase) {
  slide(Vec3(0.01, 0.0, 0.0), 0);
  double expectedForce = kRestLoad / ((3.0 - kRestLoad) * 0.006 + 1.0);
  EXPECT_NEAR(expectedForce, 0.5150, kWorkedTol);
  for (const CarWheel& w : car->wheels) {
    EXPECT_NEAR(w.gripRatio, 0.1742, kWorkedTol);
    EXPECT_NEAR(w.lateralRatio, expectedForce / 3.0, kWorkedTol);
    EXPECT_EQ(w.longitudinalRatio, 1.0f);
  }
  // Four tyres oppose the slide; the springs carry the weight.
  EXPECT_NEAR(car->force.x, -4.0 * expectedForce, kWorkedTol);
  EXPECT_NEAR(car->force.y, 4.0 * kRestLoad, kTol);
}

TEST_F(Tyres, AnyOtherSurfaceCutsTheFrictionLimit) {
  slide(Vec3(0.01, 0.0, 0.0), 2);
  for (const CarWheel& w : car->wheels) EXPECT_NEAR(w.gripRatio, 0.7 * kRestLoad / 3.0, kWorkedTol);
}

TEST_F(Tyres, DemandTwiceTheLimitReportsHalfGrip) {
  // Demand = 0.5227 * 2: a sideways patch speed of 2 * 0.5227 / 300.
  slide(Vec3(2.0 * kRestLoad / 300.0, 0.0, 0.0), 0);
  EXPECT_NEAR(car->wheels[kFrontLeft].gripRatio, 0.5, 1e-5);
  EXPECT_NEAR(car->force.x, -4.0 * kRestLoad / (0.006 * kRestLoad + 1.0), 1e-5);
}

TEST_F(Tyres, SpringNeverPulls) {
  car->previous.position = car->current.position;
  for (CarWheel& w : car->wheels) {
    w.suspensionLength = 0.3f;  // the wheel drops 0.0765 m in one tick
  }
  contactPass(*car);
  for (const CarWheel& w : car->wheels) {
    EXPECT_NEAR(w.suspensionSpeed, 0.0765, 1e-6);
    EXPECT_EQ(w.load, 0.0f);
  }
}

TEST_F(Tyres, ContactPassFindsTheGroundAndAirborneWheelsGripAgain) {
  contactPass(*car);
  for (const CarWheel& w : car->wheels) {
    EXPECT_NEAR(w.hub.y, double(0.271f), kTol);
    EXPECT_NEAR(w.suspensionLength, 0.3975 + 0.2500000074505806 - double(0.271f), kTol);
    EXPECT_EQ(w.surface, 0);
  }
  car->current.position.y = 3.0;
  car->wheels[kRearLeft].gripRatio = 0.0f;
  contactPass(*car);
  EXPECT_EQ(car->wheels[kRearLeft].gripRatio, 1.0f);
  EXPECT_EQ(car->wheels[kRearLeft].load, 0.0f);
  EXPECT_EQ(car->tick.totalLoad, 0.0);
}

TEST_F(Tyres, RoughGroundSearchRadiusFollowsTheNoise) {
  car->current.position = Vec3(100.0, 0.35, 0.0);
  contactPass(*car);  // first contact learns the surface
  ASSERT_EQ(car->wheels[kRearLeft].surface, 1);
  for (float phase : {0.0f, 37.25f, 128.5f, 255.75f}) {
    for (CarWheel& w : car->wheels) {
      w.bumpPhase = phase;
      w.suspensionLength = 0.42f;
    }
    contactPass(*car);
    double radius = double(0.271f) + (sampleNoise(phase) + 0.5) * double(0.06f);
    EXPECT_NEAR(car->wheels[kRearLeft].hub.y, radius, 1e-6) << phase;
    EXPECT_LE(std::fabs(radius - (0.271 + 0.03)), 0.06 * 1.25 + kTol);
  }
}

TEST_F(Tyres, BumpPhaseWrapsWhenItRoundsUpTo256) {
  // Just below 256 plus a step that rounds the stored phase up to exactly 256.
  for (CarWheel& w : car->wheels) w.bumpPhase = std::nextafter(256.0f, 0.0f);
  slide(Vec3(4.5e-6, 0.0, 0.0), 0);
  for (const CarWheel& w : car->wheels) {
    EXPECT_GE(w.bumpPhase, 0.0f);
    EXPECT_LT(w.bumpPhase, 256.0f);
  }
}
