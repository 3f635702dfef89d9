#include "game/trip_stats.h"

#include <gtest/gtest.h>

namespace {

const Mat4 kIdentity = identityMat4();
const Vec3 kRest(0.0, 0.0, 0.0);

}  // namespace

TEST(TripStats, SamplingStartsAtThe376thUpdate) {
  TripStats stats;
  // Forward (-z) at 0.1 m/tick from a standstill: every sample would count.
  const Vec3 moving(0.0, 0.0, -0.1);
  for (int update = 1; update <= 375; ++update) sampleTripStats(stats, moving, kRest, kIdentity);
  EXPECT_EQ(stats.topSpeed, 0.0f);
  sampleTripStats(stats, moving, kRest, kIdentity);
  EXPECT_FLOAT_EQ(stats.topSpeed, 0.1f);
  EXPECT_FLOAT_EQ(stats.accelMax, 0.1f);
}

TEST(TripStats, AccelerationsAreInTheCarsFrame) {
  TripStats stats;
  stats.statsTimer = 10.0f;
  // The car faces world +x (yaw -90: its -z axis points along +x).
  Mat4 facingX = axisAngleMat4(Vec3(0.0, 1.0, 0.0), -1.5707964f);
  // Braking: velocity along +x shrinks.
  sampleTripStats(stats, Vec3(0.9, 0.0, 0.0), Vec3(1.0, 0.0, 0.0), facingX);
  EXPECT_NEAR(stats.accelMin, -0.1f, 1e-6f);
  EXPECT_EQ(stats.accelMax, 0.0f);
  // Sideways to the car's right (+x local is world +z here).
  sampleTripStats(stats, Vec3(1.0, 0.0, 0.05), Vec3(1.0, 0.0, 0.0), facingX);
  EXPECT_NEAR(stats.sideMax, 0.05f, 1e-6f);
  EXPECT_EQ(stats.sideMin, 0.0f);
}
