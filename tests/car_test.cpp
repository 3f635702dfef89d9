#include "vehicle/car.h"

#include "app/log.h"
#include "physics/random.h"
#include "tests/vehicle_test_track.h"
#include "vehicle/aero.h"
#include "vehicle/noise_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr double kTol = 1e-9;
constexpr double kRestWeight = 2.0907;      // 1200 kg * 9.8 / 75^2
constexpr double kRestLength = 0.376;       // m, each spring 0.0436 m into its travel
constexpr double kRestTol = 0.001;

std::string readFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

TEST(Car, NoiseTableDependsOnlyOnTheStartSeedAndReseeds) {
  seedRandom(345);
  auto first = std::make_unique<PhCar>();
  float table[256];
  for (int i = 0; i < 256; ++i) table[i] = noiseTable[i];
  int afterCar = nextRandom();
  seedRandom(2384576);
  EXPECT_EQ(afterCar, nextRandom());

  seedRandom(345);
  auto second = std::make_unique<PhCar>();
  bool inRange = true;
  for (int i = 0; i < 256; ++i) {
    EXPECT_EQ(table[i], noiseTable[i]) << i;
    // Smoothed values of -1..1 plus a grain of at most 0.25.
    inRange = inRange && std::fabs(noiseTable[i]) <= 1.25f;
  }
  EXPECT_TRUE(inRange);
  EXPECT_EQ(double(noiseTable[255]), sampleNoise(255.0));
  EXPECT_NEAR(sampleNoise(255.5), 0.5 * noiseTable[255] + 0.5 * noiseTable[0], kTol);
  // A phase that outran its wrap still reads inside the table.
  EXPECT_EQ(sampleNoise(512.0 + 3.0), double(noiseTable[3]));
  EXPECT_EQ(sampleNoise(std::nan("")), double(noiseTable[0]));
}

TEST(Car, ConstructionAndRepeatedResetGiveTheStartState) {
  auto car = std::make_unique<PhCar>();
  car->reset();
  car->reset();
  for (const CarWheel& w : car->wheels) {
    EXPECT_EQ(w.mount.y, 0.2500000074505806);
    EXPECT_EQ(w.suspensionLength, 0.42f);
    EXPECT_EQ(w.gripRatio, 1.0f);
  }
  EXPECT_EQ(car->wheels[kFrontRight].mount.z, -1.1699999570846558);
  EXPECT_EQ(car->InertiaAbout(Vec3(0.0, 1.0, 0.0)), 1440.0f);
}

TEST(Car, DestructionLogsDownforceAndWritesNoReplayUnlessRecording) {
  const char* replay = "car_test_no_replay.vlr";
  std::remove(replay);
  openLog();
  {
    auto car = std::make_unique<PhCar>();
    car->replayPath = replay;
  }
  EXPECT_NE(readFile("log.txt").find("PhCar: Max downforce 0.00 kg"), std::string::npos);
  std::FILE* f = std::fopen(replay, "rb");
  EXPECT_EQ(f, nullptr);
  if (f != nullptr) std::fclose(f);
}

TEST(Car, FirstTicksOpenTheClutchAndKeepTheEngineIdling) {
  TestTrack track;
  buildFlatTrack(track);
  PhCar& car = *track.car;
  // Clutch +0.01 (held at 1), then -0.1 while the engine is below 1200 rpm.
  track.run(1);
  EXPECT_FLOAT_EQ(car.clutch, 0.9f);
  EXPECT_FLOAT_EQ(car.throttle, 0.01f);
  for (int n = 2; n <= 5; ++n) {
    track.run(1);
    EXPECT_NEAR(car.clutch, 0.9 - 0.09 * (n - 1), 1e-6) << n;
    EXPECT_NEAR(car.throttle, 0.01 * n, 1e-6) << n;
  }
}

TEST(Car, SettlesOnLevelGroundUnderItsWeight) {
  TestTrack track;
  buildFlatTrack(track);
  track.run(300);
  double total = 0.0;
  for (const CarWheel& w : track.car->wheels) {
    total += w.load;
    EXPECT_NEAR(w.suspensionLength, kRestLength, kRestTol);
    EXPECT_EQ(w.surface, 0);
  }
  EXPECT_NEAR(total, kRestWeight, 0.0001);
  // The idling engine turned the rear wheels while the car dropped onto its
  // springs, so the settled car creeps forward at about 0.1 km/h.
  EXPECT_NEAR(kmh(track.car->current.velocity), 0.105, 0.005);
  EXPECT_LT(track.car->current.velocity.z, 0.0);
  // So braking it builds up a little slower than from a true standstill.
  track.press(kKeyBrake, true);
  track.run(1);
  EXPECT_NEAR(track.car->footBrake, 0.179, 0.0005);
  track.run(1);
  EXPECT_NEAR(track.car->footBrake, 0.376, 0.0005);
}

TEST(Car, WheelsInTheAirCarryNoLoadAndDeliverNoTyreForce) {
  TestTrack track;
  track.addSquare(0, -50.0, -50.0, 50.0, 50.0, 0.0);
  track.build(Vec3(0.0, 5.0, 0.0));
  PhCar& car = *track.car;
  car.wheels[kFrontLeft].surfaceSpeed = -0.05f;
  car.footBrake = 0.0f;
  car.Step();
  // Only gravity acts on a body at rest in the air.
  EXPECT_EQ(car.force.x, 0.0);
  EXPECT_NEAR(car.force.y, -1200.0 * kGravityPerTick, kTol);
  EXPECT_EQ(car.force.z, 0.0);
  for (const CarWheel& w : car.wheels) {
    EXPECT_EQ(w.load, 0.0f);
    EXPECT_EQ(w.gripRatio, 0.0f);
    Vec3 local = worldToLocal(car.current.orientation, w.hub, car.current.position);
    EXPECT_NEAR(local.y, w.mount.y - double(0.42f), kTol);
  }
  // An unloaded tyre does not follow the ground.
  EXPECT_EQ(car.wheels[kFrontLeft].surfaceSpeed, -0.05f);
  EXPECT_EQ(car.diffSplit, 0.5f);
}

TEST(Car, IntegrateCarriesTheHubsWithTheBody) {
  TestTrack track;
  track.addSquare(0, -50.0, -50.0, 50.0, 50.0, 0.0);
  track.build(Vec3(0.0, 5.0, 0.0));
  PhCar& car = *track.car;
  track.run(1);
  Vec3 before = worldToLocal(car.current.orientation, car.wheels[kFrontLeft].hub, car.current.position);
  car.force = Vec3(3.0, 1.0, -2.0);
  car.torque = Vec3(20.0, 5.0, 0.0);
  car.Integrate();
  Vec3 after = worldToLocal(car.current.orientation, car.wheels[kFrontLeft].hub, car.current.position);
  EXPECT_NEAR(after.x, before.x, 1e-6);
  EXPECT_NEAR(after.y, before.y, 1e-6);
  EXPECT_NEAR(after.z, before.z, 1e-6);
}

TEST(Car, DrawnPoseHasNoShakeAtRestAndTurnsTheLeftWheels) {
  auto car = std::make_unique<PhCar>();
  car->current.position = Vec3(1.0, 2.0, 3.0);
  car->SavePrevious();
  car->current.position = Vec3(3.0, 2.0, 3.0);
  car->InterpolateForDrawing(0.25f);
  EXPECT_NEAR(car->drawn.position.x, 1.5, kTol);
  for (int e = 0; e < 16; ++e) EXPECT_EQ(car->drawn.orientation[e], identityMat4()[e]) << e;
  EXPECT_NEAR(car->wheels[kRearLeft].drawn.matrix[0], -1.0, 1e-6);
  EXPECT_NEAR(car->wheels[kFrontLeft].drawn.matrix[10], -1.0, 1e-6);
  EXPECT_NEAR(car->wheels[kRearRight].drawn.matrix[0], 1.0, 1e-6);
  EXPECT_NEAR(car->wheels[kFrontRight].drawn.matrix[10], 1.0, 1e-6);
}

TEST(Car, ShakePhasesWrapWhenTheyRoundUpTo256) {
  auto car = std::make_unique<PhCar>();
  // Steps of 8.4e-6 and 1.05e-5 from just below 256 round the stored phases up to 256.
  car->shakePhaseA = std::nextafter(256.0f, 0.0f);
  car->shakePhaseB = car->shakePhaseA;
  car->current.velocity = Vec3(0.0, 0.0, -7e-6);
  advanceShakePhases(*car);
  EXPECT_LT(car->shakePhaseA, 256.0f);
  EXPECT_LT(car->shakePhaseB, 256.0f);
  EXPECT_GE(car->shakePhaseA, 0.0f);
  EXPECT_GE(car->shakePhaseB, 0.0f);
}

TEST(Car, FullThrottleDrivesForwardThroughTheGears) {
  TestTrack track;
  track.addSquare(0, -300.0, -2000.0, 300.0, 300.0, 0.0);
  track.build(Vec3(0.0, 0.7, 0.0));
  PhCar& car = *track.car;
  track.press(kKeyThrottle, true);
  double top = 0.0;
  for (int i = 0; i < 20 * 75; ++i) {
    track.run(1);
    top = std::max(top, kmh(car.current.velocity));
  }
  EXPECT_GE(car.gear, 4);
  EXPECT_GT(top, 150.0);
  EXPECT_LT(car.current.position.z, -500.0);
  EXPECT_NEAR(car.current.position.x, 0.0, 0.5);
  EXPECT_GT(car.maxDownforce, 0.0f);
}
