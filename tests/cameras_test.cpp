#include "game/cameras.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kPosTol = 1e-9;
constexpr float kAngleTol = 1e-4f;

}  // namespace

TEST(Cameras, YawLooksTowardTheTarget) {
  float yaw = 0.0f;
  ASSERT_TRUE(yawToward(Vec3(0.0, -3.0, -1.0), yaw));  // toward -z
  EXPECT_NEAR(yaw, 0.0f, kAngleTol);
  ASSERT_TRUE(yawToward(Vec3(1.0, 0.0, 0.0), yaw));  // toward +x
  EXPECT_NEAR(yaw, 90.0f, kAngleTol);
  ASSERT_TRUE(yawToward(Vec3(0.0, 0.0, 2.0), yaw));  // toward +z
  EXPECT_NEAR(yaw, 180.0f, kAngleTol);
}

TEST(Cameras, StraightDownKeepsThePreviousYaw) {
  GameState state;
  state.cameraMode = kCameraChase;
  state.cameraYaw = 33.0f;
  // Right after a recovery the chase point stands 1 m straight above the car.
  state.cameraPosition = Vec3(5.0, 2.0, 7.0);
  placeCamera(state, Vec3(5.0, 1.0, 7.0), identityMat4());
  EXPECT_EQ(state.cameraYaw, 33.0f);
}

TEST(Cameras, ChasePointMoreThanTenMetresAwayJumpsAboveTheCar) {
  GameState state;
  state.chasePoint = Vec3(12.0, 0.0, 0.0);
  chaseTick(state, Vec3(0.0, 0.0, 0.0), Vec3(0.0, 0.0, 0.0), identityMat4());
  EXPECT_NEAR(state.chasePoint.y, 1.0, kPosTol);
  EXPECT_NEAR(state.chasePoint.x, 0.0, kPosTol);
  EXPECT_NEAR(state.chasePointPrevious.x, 12.0, kPosTol);
}

TEST(Cameras, VelocityCancellingTheBackVectorDoesNotPoisonTheChasePoint) {
  GameState state;
  state.chasePoint = Vec3(0.0, 1.0, 3.0);
  chaseTick(state, Vec3(0.0, 0.0, 0.0), Vec3(0.0, 0.0, 0.1), identityMat4());
  EXPECT_TRUE(std::isfinite(state.chasePoint.x));
  EXPECT_TRUE(std::isfinite(state.chasePoint.z));
}

TEST(Cameras, TracksideFieldOfViewNarrowsWithDistance) {
  GameState state;
  state.cameraMode = kCameraTrackside;
  // Car half a metre from the camera: 50 / 1.06 would exceed 45.
  placeCamera(state, Vec3(-7.0, 1.0, -3.5), identityMat4());
  EXPECT_EQ(state.fieldOfView, 45.0f);
  // 100 m away: 50 / 13.
  placeCamera(state, Vec3(-7.0, 1.0, -103.0), identityMat4());
  EXPECT_NEAR(state.fieldOfView, 50.0f / 13.0f, 1e-3f);
  EXPECT_NEAR(state.cameraPitch, 0.0f, kAngleTol);
  EXPECT_NEAR(state.cameraYaw, 0.0f, kAngleTol);
}

TEST(Cameras, BumperAndRoofSitAheadOfTheCarsCentre) {
  GameState state;
  state.cameraMode = kCameraBumper;
  placeCamera(state, Vec3(1.0, 2.0, 3.0), identityMat4());
  EXPECT_NEAR(state.cameraPosition.z, 1.5, kPosTol);
  EXPECT_NEAR(state.cameraPosition.y, 2.0 + double(0.09f), kPosTol);
  state.cameraMode = kCameraRoof;
  placeCamera(state, Vec3(1.0, 2.0, 3.0), identityMat4());
  EXPECT_NEAR(state.cameraPosition.y, 2.0 + double(0.55f), kPosTol);
}
