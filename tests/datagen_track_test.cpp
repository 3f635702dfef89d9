#include "tools/datagen/track_layout.h"
#include "tools/datagen/track_model.h"
#include "tools/datagen/track_props.h"

#include "physics/contact.h"
#include "physics/mat4.h"
#include "physics/quadtree.h"
#include "game/startup_models.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kAngleTolDegrees = 3.0;
constexpr double kHeightTol = 0.05;  // m
constexpr double kMountY = 0.2500000074505806;
constexpr double kMountX = 0.75;
constexpr double kMountZ = 1.1699999570846558;
constexpr double kMaxLength = 0.41999998688697815;

// Built once: the layout, the model and its collision tree, the trees.
struct Circuit {
  TrackLayout layout = buildTrackLayout();
  MeshBuilder model = buildTrackModel(layout);
  RMDMesh mesh = model.toMesh();
  CollisionQuadtree* tree = buildTrackQuadtree(mesh);
  std::vector<TreePlacement> trees = placeTrees(layout);
};

const Circuit& circuit() {
  static Circuit* c = new Circuit;
  return *c;
}

Vec3 forwardOf(float yawDegrees) {
  Mat4 r = yawPitchMat4(yawDegrees, 0.0f);
  return localToWorld(r, Vec3(0.0, 0.0, -1.0), Vec3(0.0, 0.0, 0.0));
}

double angleBetweenDegrees(const Vec3& a, const Vec3& b) {
  double c = dot(a, b) / (length(a) * length(b));
  return std::acos(std::min(1.0, std::max(-1.0, c))) * 180.0 / kPi;
}

// The surface under each wheel of a car standing at `position` with `yaw`:
// the groups and heights the car's own contact search would find.
void expectWheelsOnAsphalt(const Vec3& position, float yaw, double yMin, double yMax) {
  CollisionQuadtree& tree = *circuit().tree;
  Mat4 r = yawPitchMat4(yaw, 0.0f);
  for (double sx : {-kMountX, kMountX}) {
    for (double sz : {-kMountZ, kMountZ}) {
      Vec3 hub = localToWorld(r, Vec3(sx, kMountY - kMaxLength, sz), position);
      ASSERT_TRUE(queryQuadtree(tree, hub, 3.0f));
      Contact contact;
      ASSERT_TRUE(nearestContact(tree, hub, 2.0f, contact)) << "no ground under wheel at " << hub.x << " " << hub.z;
      EXPECT_EQ(contact.group, kGroupAsphalt);
      EXPECT_GE(contact.point.y, yMin);
      EXPECT_LE(contact.point.y, yMax);
      EXPECT_GT(contact.normal.y, 0.99);
    }
  }
}

Vec3 startLineEnd(const TrackLayout& layout, double turn) {
  double a = (layout.startHeading + turn) * kPi / 180.0;
  return layout.startPosition + Vec3(std::sin(a) * 6.0, 0.25, std::cos(a) * 6.0);
}

}  // namespace

TEST(TrackLayout, ClosedCircuitOfTwoToThreeKilometresSampledEveryTwoMetres) {
  const TrackLayout& l = circuit().layout;
  EXPECT_GT(l.length, 2000.0);
  EXPECT_LT(l.length, 3000.0);
  EXPECT_NEAR(l.spacing, 2.0, 0.01);
  for (size_t i = 0; i < l.centre.size(); ++i) {
    const Vec3& a = l.centre[i];
    const Vec3& b = l.centre[(i + 1) % l.centre.size()];
    EXPECT_NEAR(std::hypot(b.x - a.x, b.z - a.z), 2.0, 0.05) << "sample " << i;
  }
}

TEST(TrackLayout, RibbonNeverFoldsAndSeparatePartsStayApart) {
  const TrackLayout& l = circuit().layout;
  const int n = int(l.centre.size());
  double tightest = 0.0;
  for (double k : l.curvature) tightest = std::max(tightest, std::fabs(k));
  // The inside edge of the run-off keeps a positive radius in the tightest corner.
  EXPECT_GT(1.0 / tightest, kRunoffOuter + 1.0);
  for (int i = 0; i < n; i += 3) {
    for (int j = 0; j < n; j += 3) {
      int apart = std::min(std::abs(i - j), n - std::abs(i - j));
      if (apart * l.spacing < 120.0) continue;
      double d = std::hypot(l.centre[size_t(i)].x - l.centre[size_t(j)].x, l.centre[size_t(i)].z - l.centre[size_t(j)].z);
      ASSERT_GT(d, 2.0 * kRunoffOuter + 10.0) << "samples " << i << " and " << j;
    }
  }
}

TEST(TrackLayout, StaysInsideTheResetSquareWithGentleElevation) {
  const TrackLayout& l = circuit().layout;
  double lowest = 1e9, highest = -1e9;
  for (size_t i = 0; i < l.centre.size(); ++i) {
    const Vec3& c = l.centre[i];
    EXPECT_LT(std::fabs(c.x) + kRunoffOuter, 280.0);
    EXPECT_LT(std::fabs(c.z) + kRunoffOuter, 280.0);
    lowest = std::min(lowest, c.y);
    highest = std::max(highest, c.y);
    const Vec3& next = l.centre[(i + 1) % l.centre.size()];
    EXPECT_LT(std::fabs(next.y - c.y) / l.spacing, 0.05) << "grade at sample " << i;
  }
  EXPECT_GT(lowest, -6.5);  // the car is reset below y = -7
  EXPECT_LT(highest - lowest, 6.0);
  EXPECT_GT(highest - lowest, 1.0);
}

TEST(TrackLayout, SomePointLiesMoreThan300mFromTheStartLine) {
  const TrackLayout& l = circuit().layout;
  Vec3 a = startLineEnd(l, 90.0), b = startLineEnd(l, -90.0);
  double farthest = 0.0;
  for (const Vec3& c : l.centre) farthest = std::max(farthest, length(c - closestPointOnSegment(a, b, c)));
  EXPECT_GT(farthest, 330.0);
}

TEST(TrackLayout, StartLineCrossesALevelStraightWithConesAtTheRoadEdges) {
  const TrackLayout& l = circuit().layout;
  EXPECT_LT(angleBetweenDegrees(forwardOf(l.startHeading), l.tangent[0]), kAngleTolDegrees);
  for (double turn : {90.0, -90.0}) {
    Vec3 cone = startLineEnd(l, turn);
    EXPECT_NEAR(nearestCentre(l, cone.x, cone.z).distance, kRoadHalfWidth, 0.05);
  }
  const int n = int(l.centre.size());
  for (int k = -30; k <= 30; ++k) {
    const Vec3& c = l.centre[size_t((k + n) % n)];
    EXPECT_NEAR(c.y, l.startPosition.y, 0.01) << "sample " << k;
    EXPECT_LT(std::fabs(l.curvature[size_t((k + n) % n)]), 1e-3);
  }
}

TEST(TrackSurface, StartAndRestartStandOnAsphalt) {
  const TrackLayout& l = circuit().layout;
  double h = l.startHeading * kPi / 180.0;
  Vec3 restart = l.startPosition + Vec3(std::sin(h) * 20.0, 0.7, std::cos(h) * 20.0);
  expectWheelsOnAsphalt(restart, l.startHeading, l.startPosition.y - kHeightTol, l.startPosition.y + kHeightTol);
  // The restart spot is behind the line: driving forward crosses it.
  EXPECT_LT(dot(l.startPosition - restart, forwardOf(l.startHeading)), 20.5);
  EXPECT_GT(dot(l.startPosition - restart, forwardOf(l.startHeading)), 19.5);
}

TEST(TrackSurface, RecoveryPointLiesOnTheRoadPointingAlongIt) {
  const TrackLayout& l = circuit().layout;
  float yaw = l.startHeading + 170.0f;
  expectWheelsOnAsphalt(Vec3(kRecoveryX, 0.5, kRecoveryZ), yaw, -0.3, 0.0);
  CentreHit hit = nearestCentre(l, kRecoveryX, kRecoveryZ);
  EXPECT_LT(hit.distance, 1.0);
  EXPECT_LT(angleBetweenDegrees(forwardOf(yaw), l.tangent[size_t(hit.segment)]), kAngleTolDegrees);
}

TEST(TrackSurface, GroundCoversTheWholeResetSquare) {
  const TrackLayout& l = circuit().layout;
  CollisionQuadtree& tree = *circuit().tree;
  for (double x = -300.0; x <= 300.0; x += 20.0) {
    for (double z = -300.0; z <= 300.0; z += 20.0) {
      Vec3 probe(x, groundHeight(l, x, z) + 1.0, z);
      ASSERT_TRUE(queryQuadtree(tree, probe, 3.0f));
      Contact contact;
      EXPECT_TRUE(nearestContact(tree, probe, 2.5f, contact)) << "no ground at " << x << " " << z;
    }
  }
}

TEST(TrackModel, SurfaceGroupsInOrderFacingUpWithinTheTriangleBudget) {
  const MeshBuilder& m = circuit().model;
  ASSERT_EQ(m.materials.size(), 3u);
  EXPECT_EQ(m.materials[kGroupAsphalt], "track_asphalt");
  EXPECT_EQ(m.materials[kGroupGrass], "track_grass");
  EXPECT_EQ(m.materials[kGroupGravel], "track_gravel");
  EXPECT_GT(m.triangleCount(), 20000);
  EXPECT_LT(m.triangleCount(), 80000);
  for (const std::vector<int>& list : m.triangles) {
    EXPECT_GT(list.size(), 300u);
    for (size_t t = 0; t < list.size(); t += 3) {
      const Vec3& a = m.vertices[size_t(list[t])].position;
      const Vec3& b = m.vertices[size_t(list[t + 1])].position;
      const Vec3& c = m.vertices[size_t(list[t + 2])].position;
      ASSERT_GT(cross(b - a, c - a).y, 0.0) << "triangle " << t / 3 << " is not counter-clockwise from above";
    }
  }
}

TEST(TrackProps, TreesKeepClearOfTrackCamerasAndMenuOrbit) {
  const TrackLayout& l = circuit().layout;
  const std::vector<TreePlacement>& trees = circuit().trees;
  EXPECT_GE(trees.size(), 150u);
  const Vec3 camera = l.startPosition + kTracksideCameraOffset;
  for (const TreePlacement& t : trees) {
    EXPECT_GT(nearestCentre(l, t.position.x, t.position.z).distance, kRunoffOuter + 3.0 + 2.5);
    EXPECT_GT(std::fabs(std::hypot(t.position.x, t.position.z) - kOrbitRadius), 10.0);
    EXPECT_GT(std::hypot(t.position.x - camera.x, t.position.z - camera.z), 10.0);
    EXPECT_LT(std::max(std::fabs(t.position.x), std::fabs(t.position.z)), 290.0);
    EXPECT_NEAR(t.position.y, groundHeight(l, t.position.x, t.position.z), 0.3);
  }
}

TEST(TrackProps, TracksideCameraStandsAboveTheGround) {
  const TrackLayout& l = circuit().layout;
  const Vec3 camera = l.startPosition + kTracksideCameraOffset;
  CentreHit hit = nearestCentre(l, camera.x, camera.z);
  double surface = hit.distance <= kRunoffOuter ? ribbonHeight(hit.roadY, hit.distance)
                                                : groundHeight(l, camera.x, camera.z);
  EXPECT_GT(camera.y - surface, 0.5);
}

TEST(TrackProps, CentreLineFileStartsAtTheLineInDrivingOrder) {
  const TrackLayout& l = circuit().layout;
  std::istringstream text(trackLineText(l));
  std::vector<Vec3> points;
  double x, y, z;
  while (text >> x >> y >> z) points.push_back(Vec3(x, y, z));
  ASSERT_EQ(points.size(), l.centre.size());
  EXPECT_LT(length(points[0] - l.startPosition), 0.002);
  EXPECT_GT(dot(points[1] - points[0], forwardOf(l.startHeading)), 1.9);
  EXPECT_NEAR(length(points.front() - points.back()), 2.0, 0.05);
}

TEST(TrackProps, PropFileHoldsStartAndTreesLittleEndian) {
  const TrackLayout& l = circuit().layout;
  std::vector<TreePlacement> two = {{Vec3(1.5, -2.0, 3.25), 45.0f}, {Vec3(-7.0, 0.5, 8.0), 300.0f}};
  std::vector<uint8_t> bytes = encodePropFile(l, two);
  ASSERT_EQ(bytes.size(), 32u + 2u * 28u);
  double startX;
  float heading;
  int32_t count;
  std::memcpy(&startX, bytes.data(), 8);
  std::memcpy(&heading, bytes.data() + 24, 4);
  std::memcpy(&count, bytes.data() + 28, 4);
  EXPECT_EQ(startX, l.startPosition.x);
  EXPECT_EQ(heading, l.startHeading);
  EXPECT_EQ(count, 2);
  float second;
  std::memcpy(&second, bytes.data() + 32 + 28 + 24, 4);
  EXPECT_EQ(second, 300.0f);
}
