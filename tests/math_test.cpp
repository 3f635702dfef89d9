#include "physics/mat4.h"
#include "physics/ptr_list.h"
#include "physics/random.h"
#include "physics/vec3.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kFloatTol = 1e-6;

Mat4 withTranslation() {
  Mat4 a = yawPitchMat4(30.0f, 10.0f);
  a[12] = 5.0f;
  a[13] = -2.0f;
  a[14] = 7.0f;
  return a;
}

}  // namespace

TEST(Vec3, GuardedNormalizeOfTinyVectorGivesXAxis) {
  Vec3 zero(0.0, 0.0, 0.0);
  normalizeGuarded(zero);
  EXPECT_EQ(zero.x, 1.0);
  EXPECT_EQ(zero.y, 0.0);
  EXPECT_EQ(zero.z, 0.0);

  Vec3 tiny(0.0, 9.9e-07, 0.0);
  normalizeGuarded(tiny);
  EXPECT_EQ(tiny.x, 1.0);

  Vec3 threshold(0.0, kNormalizeMinLength, 0.0);
  normalizeGuarded(threshold);
  EXPECT_EQ(threshold.x, 0.0);
  EXPECT_DOUBLE_EQ(threshold.y, 1.0);
}

TEST(Vec3, CrossFollowsRightHandRule) {
  Vec3 z = cross(Vec3(1, 0, 0), Vec3(0, 1, 0));
  EXPECT_EQ(z.x, 0.0);
  EXPECT_EQ(z.y, 0.0);
  EXPECT_EQ(z.z, 1.0);
}

TEST(Mat4, RotateByClearsTranslation) {
  Mat4 a = withTranslation();
  rotateBy(a, yawPitchMat4(5.0f, 0.0f));
  EXPECT_EQ(a[12], 0.0f);
  EXPECT_EQ(a[13], 0.0f);
  EXPECT_EQ(a[14], 0.0f);
  EXPECT_EQ(a[15], 1.0f);
}

TEST(Mat4, NormalizeRowsLeavesZeroRowZero) {
  Mat4 a = identityMat4();
  a[1] = a[5] = a[9] = 0.0f;
  a[0] = 2.0f;
  normalizeRows(a);
  EXPECT_EQ(a[0], 1.0f);
  EXPECT_EQ(a[1], 0.0f);
  EXPECT_EQ(a[5], 0.0f);
  EXPECT_EQ(a[9], 0.0f);
}

TEST(Mat4, AxisAngleEdgeValues) {
  Mat4 zero = axisAngleMat4(Vec3(0, 0, 1), 0.0f);
  Mat4 id = identityMat4();
  for (int i = 0; i < 16; ++i) EXPECT_EQ(zero[i], id[i]) << i;

  Mat4 quarter = axisAngleMat4(Vec3(0, 1, 0), float(M_PI / 2));
  EXPECT_NEAR(quarter[8], 1.0f, kFloatTol);
  EXPECT_NEAR(quarter[2], -1.0f, kFloatTol);
}

TEST(Mat4, YawNinetyEqualsAxisAngleAboutY) {
  Mat4 a = yawPitchMat4(90.0f, 0.0f);
  Mat4 b = axisAngleMat4(Vec3(0, 1, 0), float(M_PI / 2));
  for (int i = 0; i < 16; ++i) EXPECT_EQ(a[i], b[i]) << i;
}

TEST(Mat4, YawPitchIsYawAfterPitch) {
  // Pitch tips the local z axis down, yaw then swings it about world y.
  Mat4 a = yawPitchMat4(90.0f, 90.0f);
  Vec3 localZ = localToWorld(a, Vec3(0, 0, 1), Vec3(0, 0, 0));
  EXPECT_NEAR(localZ.x, 0.0, kFloatTol);
  EXPECT_NEAR(localZ.y, -1.0, kFloatTol);
  EXPECT_NEAR(localZ.z, 0.0, kFloatTol);
}

TEST(Mat4, WorldToLocalRoundTrip) {
  Mat4 a = yawPitchMat4(37.0f, -12.0f);
  Vec3 origin(3.0, 1.0, -4.0);
  Vec3 p(10.5, -2.25, 8.0);
  Vec3 back = localToWorld(a, worldToLocal(a, p, origin), origin);
  EXPECT_NEAR(back.x, p.x, 1e-5);
  EXPECT_NEAR(back.y, p.y, 1e-5);
  EXPECT_NEAR(back.z, p.z, 1e-5);
}

TEST(Mat4, ReorthogonalizeRestoresRightHandedFrame) {
  Mat4 a = yawPitchMat4(20.0f, 15.0f);
  a[6] += 0.01f;  // a slightly skewed third row
  a[2] = 0.5f;
  reorthogonalize(a);
  normalizeRows(a);
  Vec3 r0(a[0], a[4], a[8]), r1(a[1], a[5], a[9]), r2(a[2], a[6], a[10]);
  EXPECT_NEAR(dot(r0, r1), 0.0, kFloatTol);
  EXPECT_NEAR(dot(r1, r2), 0.0, kFloatTol);
  EXPECT_NEAR(length(cross(r0, r1) - r2), 0.0, kFloatTol);
}

TEST(Mat4, BlendTowardIsElementwise) {
  Mat4 a = identityMat4();
  Mat4 b = axisAngleMat4(Vec3(0, 1, 0), float(M_PI / 2));
  blendToward(a, b, 0.25f);
  EXPECT_FLOAT_EQ(a[0], 0.75f + 0.25f * b[0]);
  EXPECT_FLOAT_EQ(a[8], 0.25f * b[8]);
}

TEST(Random, FirstDrawsFromSeed345) {
  seedRandom(345);
  // state = 345 * 214013 + 2531011 = 76365496; >> 16 = 1165, & 0x7fff.
  EXPECT_EQ(nextRandom(), 1165);
  seedRandom(0);
  EXPECT_EQ(nextRandom(), (2531011 >> 16) & 0x7fff);
}

TEST(PtrList, KeepsOrderAndIteratesWithCursor) {
  PtrList<int> list;
  int a = 1, b = 2, c = 3;
  list.append(&a);
  list.append(&b);
  list.append(&c);
  list.restart();
  EXPECT_EQ(list.next(), &a);
  EXPECT_EQ(list.next(), &b);
  EXPECT_EQ(list.next(), &c);
  EXPECT_EQ(list.next(), nullptr);
  list.clear();
  EXPECT_EQ(list.size(), 0);
  EXPECT_EQ(list.begin().node, nullptr);
  int* owned = new int(4);
  list.append(owned);
  list.clearAndFree();
  EXPECT_EQ(list.size(), 0);
}
