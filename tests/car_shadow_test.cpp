#include "game/car_shadow.h"

#include <gtest/gtest.h>

namespace {

constexpr float kTol = 1e-5f;

}  // namespace

TEST(CarShadow, CornersSpreadBeyondTheWheelsJustAboveTheGround) {
  CarShadow shadow;
  initCarShadow(shadow);
  ShadowWheel wheels[kShadowVertices];
  const double mx[4] = {-0.75, 0.75, -0.75, 0.75};
  const double mz[4] = {1.17, 1.17, -1.17, -1.17};
  for (int k = 0; k < 4; ++k) wheels[k] = {Vec3(mx[k], 0.25, mz[k]), 0.271f, 0.3f};
  // The car at (10, 2, 5) turned 90 degrees: its local x runs along world -z.
  Mat4 turned = axisAngleMat4(Vec3(0.0, 1.0, 0.0), 1.5707964f);
  placeShadow(shadow, wheels, turned, Vec3(10.0, 2.0, 5.0));
  // Wheel 0 (rear left): local (-0.75*1.6, 0.25-0.571, 1.17*1.7) -> world.
  EXPECT_NEAR(shadow.positions[0], 10.0f + 1.17f * 1.7f, kTol);
  EXPECT_NEAR(shadow.positions[1], 2.0f + 0.25f - 0.571f + 0.03f, kTol);
  EXPECT_NEAR(shadow.positions[2], 5.0f + 0.75f * 1.6f, kTol);
  EXPECT_NEAR(shadow.positions[9], 10.0f - 1.17f * 1.7f, kTol);
  EXPECT_NEAR(shadow.positions[11], 5.0f - 0.75f * 1.6f, kTol);
  EXPECT_EQ(shadow.colors[11], 0.9f);
  EXPECT_EQ(shadow.triangles[3], 1);
  EXPECT_EQ(shadow.texCoords[7], 1.0f);
}
