#include "render/range_culling.h"

#include "render/geometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr float kFovY = 90.0f;  // degrees
constexpr float kNear = 0.2f;   // m
constexpr float kFar = 2000.0f; // m
const Vec3 kUnitBox(0.5, 0.5, 0.5);

// A camera at the origin looking along -z.
ViewVolume straightAhead() {
  return ViewVolume::perspective(Vec3(0, 0, 0), identityMat4(), kFovY, 1.0f, kNear, kFar);
}

bool outsideAt(const ViewVolume& volume, const Vec3& centre) {
  return volume.boxOutside(centre, kUnitBox, Vec3(0, 0, 0), identityMat4());
}

}  // namespace

TEST(ViewVolume, BoxesWhollyBeyondOnePlaneAreOutside) {
  ViewVolume v = straightAhead();
  EXPECT_FALSE(outsideAt(v, Vec3(0, 0, -10)));
  EXPECT_TRUE(outsideAt(v, Vec3(0, 0, 10))) << "behind the camera";
  EXPECT_TRUE(outsideAt(v, Vec3(0, 0, -2001))) << "beyond the far plane";
  EXPECT_FALSE(outsideAt(v, Vec3(0, 0, -2000.4))) << "reaching back over the far plane";
  // 90 degrees: the side planes are x = +-depth; a box straddling one is inside.
  EXPECT_FALSE(outsideAt(v, Vec3(10.4, 0, -10)));
  EXPECT_TRUE(outsideAt(v, Vec3(12, 0, -10)));
  EXPECT_TRUE(outsideAt(v, Vec3(0, -12, -10)));
  // Near the eye: a box around the camera is always inside.
  EXPECT_FALSE(outsideAt(v, Vec3(0, 0, 0)));
}

TEST(ViewVolume, CameraAndObjectTransformsAreApplied) {
  // Turned to look along +x (eye z = -world x): the rows of R are the eye axes.
  Mat4 lookPlusX = identityMat4();
  const float rows[3][3] = {{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) lookPlusX.m[4 * c + r] = rows[r][c];
  ViewVolume v = ViewVolume::perspective(Vec3(100, 0, 0), lookPlusX, kFovY, 1.0f, kNear, kFar);
  EXPECT_FALSE(v.boxOutside(Vec3(0, 0, 0), kUnitBox, Vec3(110, 0, 0), identityMat4()));
  EXPECT_TRUE(v.boxOutside(Vec3(0, 0, 0), kUnitBox, Vec3(90, 0, 0), identityMat4()));
  // A box 20 m along its owner's local z, the owner turned so local z is world +x.
  EXPECT_FALSE(v.boxOutside(Vec3(0, 0, 20), kUnitBox, Vec3(100, 0, 0), lookPlusX));
  EXPECT_TRUE(v.boxOutside(Vec3(0, 0, -20), kUnitBox, Vec3(100, 0, 0), lookPlusX));
  // The aspect widens the horizontal planes only.
  ViewVolume wide = ViewVolume::perspective(Vec3(0, 0, 0), identityMat4(), kFovY, 2.0f, kNear, kFar);
  EXPECT_FALSE(outsideAt(wide, Vec3(15, 0, -10)));
  EXPECT_TRUE(outsideAt(wide, Vec3(0, 15, -10)));
}

TEST(IndexRanges, ContiguousRunsWithTheBoxOfTheirVertices) {
  // Triangle t uses vertices t, t+1, t+2 of a line along x; one index points nowhere.
  const int triangles = 2 * IndexRanges::kTrianglesPerRange + 44;
  std::vector<float> positions;
  for (int i = 0; i < triangles + 2; ++i) positions.insert(positions.end(), {float(i), float(i % 3), 0.0f});
  std::vector<int32_t> indices;
  for (int t = 0; t < triangles; ++t) indices.insert(indices.end(), {t, t + 1, t + 2});
  indices.back() = 100000;
  Geometry g(triangles + 2, positions.data(), nullptr, nullptr, nullptr, nullptr, triangles, indices.data(), "m");
  IndexRanges ranges = buildIndexRanges(g);
  ASSERT_EQ(ranges.ranges.size(), 3u);
  EXPECT_EQ(ranges.ranges[1].firstTriangle, IndexRanges::kTrianglesPerRange);
  EXPECT_EQ(ranges.ranges[2].triangleCount, 44);
  // The first range spans vertices 0..129: x 0..129, y 0..2.
  EXPECT_DOUBLE_EQ(ranges.ranges[0].centre.x, 64.5);
  EXPECT_DOUBLE_EQ(ranges.ranges[0].halfSize.x, 64.5);
  EXPECT_DOUBLE_EQ(ranges.ranges[0].halfSize.y, 1.0);
  // The last range ends at vertex triangles (the unreadable index is left out).
  EXPECT_DOUBLE_EQ(ranges.ranges[2].centre.x + ranges.ranges[2].halfSize.x, double(triangles));
}
