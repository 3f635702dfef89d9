#include "physics/world.h"

#include "collision_mesh.h"
#include "physics/body.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr double kFloatTol = 1e-6;

// A body with the rigid-body integration alone, recording the operations it sees.
class RecordingBody : public PhBody {
 public:
  RecordingBody(std::string name, std::vector<std::string>& calls) : name_(std::move(name)), calls_(calls) {
    mass = 1200.0f;
  }

  void Step() override {
    calls_.push_back(name_ + ".Step");
    forceSeen = force;
    force += pushForce;
    torque += pushTorque;
  }
  void Integrate() override {
    calls_.push_back(name_ + ".Integrate");
    integrateRigidBody(*this);
  }
  void SavePrevious() override {
    calls_.push_back(name_ + ".SavePrevious");
    saveBodyState(*this);
  }
  void InterpolateForDrawing(float alpha) override { interpolateBodyPose(*this, alpha); }
  float InertiaAbout(const Vec3&) const override { return 1.2f * mass; }

  Vec3 pushForce{0.0, 0.0, 0.0};
  Vec3 pushTorque{0.0, 0.0, 0.0};
  Vec3 forceSeen{9.0, 9.0, 9.0};

 private:
  std::string name_;
  std::vector<std::string>& calls_;
};

void expectRotationNear(const Mat4& got, const Mat4& want, double tol) {
  for (int i : {0, 1, 2, 4, 5, 6, 8, 9, 10}) EXPECT_NEAR(got[i], want[i], tol) << "element " << i;
}

}  // namespace

TEST(PhWorld, EveryBodyComputesForcesBeforeAnyIntegrates) {
  std::vector<std::string> calls;
  RecordingBody a("a", calls);
  RecordingBody b("b", calls);
  a.force = Vec3(5.0, 5.0, 5.0);
  PhWorld world;
  world.addBody(&a);
  world.addBody(&b);
  world.step();
  EXPECT_EQ(calls, std::vector<std::string>({"a.Step", "b.Step", "a.Integrate", "a.SavePrevious", "b.Integrate",
                                             "b.SavePrevious"}));
  EXPECT_EQ(a.forceSeen.x, 0.0);
  EXPECT_EQ(world.stepCount, 1);
  world.step();
  EXPECT_EQ(world.stepCount, 2);
}

TEST(PhWorld, ConstantForceForOneTickMovesByTheNewVelocity) {
  std::vector<std::string> calls;
  RecordingBody body("car", calls);
  body.current.position = Vec3(1.0, 0.5, -2.0);
  body.pushForce = Vec3(12.0, -2.0905, 24.0);
  PhWorld world;
  world.addBody(&body);
  world.step();
  Vec3 expected = body.pushForce * (1.0 / 1200.0);
  EXPECT_EQ(body.current.velocity.x, expected.x);
  EXPECT_EQ(body.current.velocity.y, expected.y);
  EXPECT_EQ(body.current.position.z, -2.0 + expected.z);
  EXPECT_EQ(body.previous.position.x, 1.0);
  EXPECT_EQ(body.previous.velocity.x, 0.0);
}

TEST(PhWorld, ZeroTorqueKeepsTheExistingAngularStep) {
  std::vector<std::string> calls;
  RecordingBody body("car", calls);
  Mat4 step = axisAngleMat4(Vec3(0.0, 1.0, 0.0), 0.01f);
  body.current.angularStep = step;
  body.current.orientation = yawPitchMat4(30.0f, 0.0f);
  Mat4 expected = body.current.orientation;
  rotateBy(expected, step);
  PhWorld world;
  world.addBody(&body);
  world.step();
  expectRotationNear(body.current.angularStep, step, kFloatTol);
  expectRotationNear(body.current.orientation, expected, kFloatTol);
  expectRotationNear(body.previous.orientation, yawPitchMat4(30.0f, 0.0f), 0.0);
}

TEST(PhWorld, TorqueTurnsByTheNegativeAngle) {
  std::vector<std::string> calls;
  RecordingBody body("car", calls);
  body.pushTorque = Vec3(0.0, 144.0, 0.0);  // 0.1 rad per tick about y at 1440 kg m^2
  PhWorld world;
  world.addBody(&body);
  world.step();
  // A turn of -0.1 about y: element 8 (x of the local z axis) is sin(-0.1).
  EXPECT_NEAR(body.current.angularStep[8], std::sin(-0.1), kFloatTol);
  EXPECT_NEAR(body.current.orientation[8], std::sin(-0.1), kFloatTol);
}

TEST(PhWorld, InterpolationBlendsPreviousTowardCurrent) {
  std::vector<std::string> calls;
  RecordingBody body("car", calls);
  body.previous.position = Vec3(0.0, 0.0, 0.0);
  body.current.position = Vec3(2.0, 4.0, -8.0);
  body.current.orientation = yawPitchMat4(90.0f, 0.0f);
  body.InterpolateForDrawing(0.0f);
  EXPECT_EQ(body.drawn.position.x, 0.0);
  expectRotationNear(body.drawn.orientation, identityMat4(), 0.0);
  body.InterpolateForDrawing(0.25f);
  EXPECT_EQ(body.drawn.position.z, -2.0);
  EXPECT_NEAR(body.drawn.orientation[0], 0.75, kFloatTol);
  EXPECT_NEAR(body.drawn.orientation[8], 0.25, kFloatTol);
}

TEST(PhWorld, QueriesForwardToTheAttachedTree) {
  PhWorld world;
  Contact c{Vec3(0.0, 0.0, 0.0), Vec3(0.0, 0.0, 0.0), -1};
  EXPECT_FALSE(world.queryAround(Vec3(0.0, 0.0, 0.0), 3.0f));
  EXPECT_FALSE(world.nearestContact(Vec3(0.0, 0.1, 0.0), 0.271f, c));

  TriangleSoup soup;
  soup.addFlat(0, -5.0, 0.0, -5.0, 20.0);
  soup.addFlat(1, -5.0, 0.0, -5.0, 20.0);
  CollisionQuadtree* tree = soup.build();
  world.attachTree(tree);
  ASSERT_TRUE(world.queryAround(Vec3(0.0, 0.5, 0.0), 3.0f));
  ASSERT_TRUE(world.nearestContact(Vec3(0.25, 0.1, 0.5), 0.271f, c));
  EXPECT_EQ(c.group, 0);
  EXPECT_NEAR(c.point.x, 0.25, kFloatTol);
  destroyQuadtree(tree);
}
