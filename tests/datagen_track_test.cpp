#include "tools/datagen/grandstand.h"
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
#include <map>
#include <memory>
#include <sstream>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kAngleTolDegrees = 3.0;
constexpr double kHeightTol = 0.05;  // m
constexpr double kMountY = 0.2500000074505806;
constexpr double kMountX = 0.75;
constexpr double kMountZ = 1.1699999570846558;
constexpr double kMaxLength = 0.41999998688697815;

// Built once per circuit: the layout, the model and its collision tree, the trees.
struct Circuit {
  explicit Circuit(const CircuitChoice& choice) : layout(buildTrackLayout(choice)) {}
  ~Circuit() { destroyQuadtree(tree); }
  TrackLayout layout;
  MeshBuilder model = buildTrackModel(layout);
  RMDMesh mesh = model.toMesh();
  CollisionQuadtree* tree = buildTrackQuadtree(mesh);
  std::vector<TreePlacement> trees = placeTrees(layout);
};

// The circuit under test: 0 the default one, N > 0 the one of seed N.
int g_circuit = 0;

CircuitChoice choiceOf(int seed) {
  CircuitChoice choice;
  choice.seeded = seed > 0;
  choice.seed = uint32_t(seed);
  return choice;
}

const Circuit& circuit() {
  static std::map<int, std::unique_ptr<Circuit>> built;
  std::unique_ptr<Circuit>& c = built[g_circuit];
  if (c == nullptr) c = std::make_unique<Circuit>(choiceOf(g_circuit));
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

static void checkTrackLayoutClosedCircuitOfTwoToThreeKilometresSampledEveryTwoMetres() {
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

static void checkTrackLayoutRibbonNeverFoldsAndSeparatePartsStayApart() {
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

static void checkTrackLayoutStaysInsideTheResetSquareWithGentleElevation() {
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

static void checkTrackLayoutSomePointLiesMoreThan300mFromTheStartLine() {
  const TrackLayout& l = circuit().layout;
  Vec3 a = startLineEnd(l, 90.0), b = startLineEnd(l, -90.0);
  double farthest = 0.0;
  for (const Vec3& c : l.centre) farthest = std::max(farthest, length(c - closestPointOnSegment(a, b, c)));
  EXPECT_GT(farthest, 330.0);
}

static void checkTrackLayoutStartLineCrossesALevelStraightWithConesAtTheRoadEdges() {
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

static void checkTrackSurfaceStartAndRestartStandOnAsphalt() {
  const TrackLayout& l = circuit().layout;
  double h = l.startHeading * kPi / 180.0;
  Vec3 restart = l.startPosition + Vec3(std::sin(h) * 20.0, 0.7, std::cos(h) * 20.0);
  expectWheelsOnAsphalt(restart, l.startHeading, l.startPosition.y - kHeightTol, l.startPosition.y + kHeightTol);
  // The restart spot is behind the line: driving forward crosses it.
  EXPECT_LT(dot(l.startPosition - restart, forwardOf(l.startHeading)), 20.5);
  EXPECT_GT(dot(l.startPosition - restart, forwardOf(l.startHeading)), 19.5);
}

static void checkTrackSurfaceRecoveryPointLiesOnTheRoadPointingAlongIt() {
  const TrackLayout& l = circuit().layout;
  float yaw = l.startHeading + 170.0f;
  expectWheelsOnAsphalt(Vec3(kRecoveryX, 0.5, kRecoveryZ), yaw, -0.3, 0.0);
  CentreHit hit = nearestCentre(l, kRecoveryX, kRecoveryZ);
  EXPECT_LT(hit.distance, 1.0);
  EXPECT_LT(angleBetweenDegrees(forwardOf(yaw), l.tangent[size_t(hit.segment)]), kAngleTolDegrees);
}

static void checkTrackSurfaceGroundCoversTheWholeResetSquare() {
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

static void checkTrackModelSurfaceGroupsInOrderFacingUpWithinTheTriangleBudget() {
  const MeshBuilder& m = circuit().model;
  ASSERT_EQ(m.materials.size(), 4u);
  EXPECT_EQ(m.materials[kGroupAsphalt], "track_asphalt");
  EXPECT_EQ(m.materials[kGroupGrass], "track_grass");
  EXPECT_EQ(m.materials[kGroupGravel], "track_gravel");
  EXPECT_EQ(m.materials[kGroupStand], "track_stand");
  EXPECT_GT(m.triangles[kGroupStand].size(), 0u) << "no grandstand";
  EXPECT_GT(m.triangleCount(), 20000);
  EXPECT_LT(m.triangleCount(), 80000);
  for (int group : {kGroupAsphalt, kGroupGrass, kGroupGravel}) {
    const std::vector<int>& list = m.triangles[size_t(group)];
    EXPECT_GT(list.size(), 300u);
    for (size_t t = 0; t < list.size(); t += 3) {
      const Vec3& a = m.vertices[size_t(list[t])].position;
      const Vec3& b = m.vertices[size_t(list[t + 1])].position;
      const Vec3& c = m.vertices[size_t(list[t + 2])].position;
      ASSERT_GT(cross(b - a, c - a).y, 0.0) << "triangle " << t / 3 << " is not counter-clockwise from above";
    }
  }
}

static void checkTrackPropsTreesKeepClearOfTrackCamerasAndMenuOrbit() {
  const TrackLayout& l = circuit().layout;
  const std::vector<TreePlacement>& trees = circuit().trees;
  EXPECT_GE(trees.size(), 150u);
  const Vec3 camera = l.startPosition + kTracksideCameraOffset;
  for (const TreePlacement& t : trees) {
    EXPECT_GT(nearestCentre(l, t.position.x, t.position.z).distance, kRunoffOuter + 3.0 + 2.5);
    EXPECT_FALSE(nearGrandstand(placeGrandstand(l), t.position.x, t.position.z, 1.0));
    EXPECT_GT(std::fabs(std::hypot(t.position.x, t.position.z) - kOrbitRadius), 10.0);
    EXPECT_GT(std::hypot(t.position.x - camera.x, t.position.z - camera.z), 10.0);
    EXPECT_LT(std::max(std::fabs(t.position.x), std::fabs(t.position.z)), 290.0);
    EXPECT_NEAR(t.position.y, groundHeight(l, t.position.x, t.position.z), 0.3);
  }
}

static void checkTrackPropsTracksideCameraStandsAboveTheGround() {
  const TrackLayout& l = circuit().layout;
  const Vec3 camera = l.startPosition + kTracksideCameraOffset;
  CentreHit hit = nearestCentre(l, camera.x, camera.z);
  double surface = hit.distance <= kRunoffOuter ? ribbonHeight(hit.roadY, hit.distance)
                                                : groundHeight(l, camera.x, camera.z);
  EXPECT_GT(camera.y - surface, 0.5);
}

static void checkTrackPropsCentreLineFileStartsAtTheLineInDrivingOrder() {
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

namespace {

// True when the segment from a to b passes through triangle p, q, r before
// `reach` of its length (Moller-Trumbore).
bool segmentHits(const Vec3& a, const Vec3& b, const Vec3& p, const Vec3& q, const Vec3& r, double reach) {
  Vec3 d = b - a, e1 = q - p, e2 = r - p;
  Vec3 h = cross(d, e2);
  double det = dot(e1, h);
  if (std::fabs(det) < 1e-12) return false;
  Vec3 s = a - p;
  double u = dot(s, h) / det;
  if (u < 0.0 || u > 1.0) return false;
  Vec3 k = cross(s, e1);
  double v = dot(d, k) / det;
  if (v < 0.0 || u + v > 1.0) return false;
  double t = dot(e2, k) / det;
  return t > 1e-4 && t < reach;
}

// True when the segment passes a tree's trunk: 0.35 m round, 6.5 m tall.
bool segmentHitsTrunk(const Vec3& a, const Vec3& b, const TreePlacement& tree) {
  Vec3 d(b.x - a.x, 0.0, b.z - a.z);
  double t = std::min(1.0, std::max(0.0, ((tree.position.x - a.x) * d.x + (tree.position.z - a.z) * d.z) / dot(d, d)));
  Vec3 p = a + (b - a) * t;
  return std::hypot(p.x - tree.position.x, p.z - tree.position.z) < 0.35 && p.y > tree.position.y &&
         p.y < tree.position.y + 6.5;
}

}  // namespace

// The trackside camera sees the car on the road near it: of the points 0.8 m
// above the asphalt within 120 m, at least 90% have no terrain, stand or tree
// trunk in between.
static void checkTrackPropsTracksideCameraSeesTheRoadAroundTheStart() {
  const Circuit& c = circuit();
  const TrackLayout& l = c.layout;
  const Vec3 camera = l.startPosition + kTracksideCameraOffset;
  constexpr double kReach = 120.0;
  // Only the triangles near the camera can be in the way.
  std::vector<const int*> near;
  for (const std::vector<int>& list : c.model.triangles)
    for (size_t t = 0; t < list.size(); t += 3) {
      const Vec3& p = c.model.vertices[size_t(list[t])].position;
      if (std::hypot(p.x - camera.x, p.z - camera.z) < kReach + 10.0) near.push_back(&list[t]);
    }
  int seen = 0, total = 0;
  for (size_t i = 0; i < l.centre.size(); i += 2) {
    Vec3 r = rightOf(l.tangent[i]);
    for (double o : {-4.0, 0.0, 4.0}) {
      Vec3 target = l.centre[i] + r * o + Vec3(0.0, 0.8, 0.0);
      if (std::hypot(target.x - camera.x, target.z - camera.z) > kReach) continue;
      ++total;
      bool blocked = false;
      for (const int* t : near) {
        const Vec3& p = c.model.vertices[size_t(t[0])].position;
        const Vec3& q = c.model.vertices[size_t(t[1])].position;
        const Vec3& w = c.model.vertices[size_t(t[2])].position;
        if (segmentHits(camera, target, p, q, w, 0.98)) {
          blocked = true;
          break;
        }
      }
      for (size_t k = 0; k < c.trees.size() && !blocked; ++k) blocked = segmentHitsTrunk(camera, target, c.trees[k]);
      if (!blocked) ++seen;
    }
  }
  ASSERT_GT(total, 100);
  EXPECT_GE(double(seen) / total, 0.9) << seen << " of " << total << " road points in sight";
}

static void checkTrackLayoutPassesTheGeneratorsOwnChecks() {
  EXPECT_EQ(checkLayout(circuit().layout), "");
}

TEST(TrackLayout, ChecksCatchALayoutTheGameCannotUse) {
  TrackLayout l = buildTrackLayout();
  TrackLayout offMap = l;
  offMap.centre[200].x = 285.0;
  EXPECT_EQ(checkLayout(offMap), "leaves the map");
  TrackLayout turned = l;
  turned.startHeading += 20.0f;
  EXPECT_EQ(checkLayout(turned), "recovery heading across the road");
  TrackLayout shortLoop = l;
  shortLoop.length = 1900.0;
  EXPECT_EQ(checkLayout(shortLoop), "length outside 2-3 km");
}

TEST(TrackLayout, SameSeedSameCircuitOtherSeedsOtherCentreLines) {
  TrackLayout a = buildTrackLayout(choiceOf(1)), b = buildTrackLayout(choiceOf(1));
  TrackLayout c = buildTrackLayout(choiceOf(2)), d = buildTrackLayout();
  EXPECT_EQ(trackLineText(a), trackLineText(b));
  EXPECT_EQ(a.candidate, b.candidate);
  EXPECT_EQ(a.scenerySeed, b.scenerySeed);
  EXPECT_NE(trackLineText(a), trackLineText(c));
  EXPECT_NE(trackLineText(a), trackLineText(d));
  EXPECT_NE(a.startPosition.x, c.startPosition.x);
}

// The default circuit, one test a check.
TEST(DefaultCircuit, TrackLayoutClosedCircuitOfTwoToThreeKilometresSampledEveryTwoMetres) {
  g_circuit = 0;
  checkTrackLayoutClosedCircuitOfTwoToThreeKilometresSampledEveryTwoMetres();
}

TEST(DefaultCircuit, TrackLayoutRibbonNeverFoldsAndSeparatePartsStayApart) {
  g_circuit = 0;
  checkTrackLayoutRibbonNeverFoldsAndSeparatePartsStayApart();
}

TEST(DefaultCircuit, TrackLayoutStaysInsideTheResetSquareWithGentleElevation) {
  g_circuit = 0;
  checkTrackLayoutStaysInsideTheResetSquareWithGentleElevation();
}

TEST(DefaultCircuit, TrackLayoutSomePointLiesMoreThan300mFromTheStartLine) {
  g_circuit = 0;
  checkTrackLayoutSomePointLiesMoreThan300mFromTheStartLine();
}

TEST(DefaultCircuit, TrackLayoutStartLineCrossesALevelStraightWithConesAtTheRoadEdges) {
  g_circuit = 0;
  checkTrackLayoutStartLineCrossesALevelStraightWithConesAtTheRoadEdges();
}

TEST(DefaultCircuit, TrackSurfaceStartAndRestartStandOnAsphalt) {
  g_circuit = 0;
  checkTrackSurfaceStartAndRestartStandOnAsphalt();
}

TEST(DefaultCircuit, TrackSurfaceRecoveryPointLiesOnTheRoadPointingAlongIt) {
  g_circuit = 0;
  checkTrackSurfaceRecoveryPointLiesOnTheRoadPointingAlongIt();
}

TEST(DefaultCircuit, TrackSurfaceGroundCoversTheWholeResetSquare) {
  g_circuit = 0;
  checkTrackSurfaceGroundCoversTheWholeResetSquare();
}

TEST(DefaultCircuit, TrackModelSurfaceGroupsInOrderFacingUpWithinTheTriangleBudget) {
  g_circuit = 0;
  checkTrackModelSurfaceGroupsInOrderFacingUpWithinTheTriangleBudget();
}

TEST(DefaultCircuit, TrackPropsTreesKeepClearOfTrackCamerasAndMenuOrbit) {
  g_circuit = 0;
  checkTrackPropsTreesKeepClearOfTrackCamerasAndMenuOrbit();
}

TEST(DefaultCircuit, TrackPropsTracksideCameraStandsAboveTheGround) {
  g_circuit = 0;
  checkTrackPropsTracksideCameraStandsAboveTheGround();
}

TEST(DefaultCircuit, TrackPropsCentreLineFileStartsAtTheLineInDrivingOrder) {
  g_circuit = 0;
  checkTrackPropsCentreLineFileStartsAtTheLineInDrivingOrder();
}

TEST(DefaultCircuit, TrackPropsTracksideCameraSeesTheRoadAroundTheStart) {
  g_circuit = 0;
  checkTrackPropsTracksideCameraSeesTheRoadAroundTheStart();
}

TEST(DefaultCircuit, TrackLayoutPassesTheGeneratorsOwnChecks) {
  g_circuit = 0;
  checkTrackLayoutPassesTheGeneratorsOwnChecks();
}

// Each seeded circuit, every check in one test (building a circuit takes a while).
class SeededCircuit : public ::testing::TestWithParam<int> {};

TEST_P(SeededCircuit, KeepsWhatTheGameAssumes) {
  g_circuit = GetParam();
  {
    SCOPED_TRACE("TrackLayoutClosedCircuitOfTwoToThreeKilometresSampledEveryTwoMetres");
    checkTrackLayoutClosedCircuitOfTwoToThreeKilometresSampledEveryTwoMetres();
  }
  {
    SCOPED_TRACE("TrackLayoutRibbonNeverFoldsAndSeparatePartsStayApart");
    checkTrackLayoutRibbonNeverFoldsAndSeparatePartsStayApart();
  }
  {
    SCOPED_TRACE("TrackLayoutStaysInsideTheResetSquareWithGentleElevation");
    checkTrackLayoutStaysInsideTheResetSquareWithGentleElevation();
  }
  {
    SCOPED_TRACE("TrackLayoutSomePointLiesMoreThan300mFromTheStartLine");
    checkTrackLayoutSomePointLiesMoreThan300mFromTheStartLine();
  }
  {
    SCOPED_TRACE("TrackLayoutStartLineCrossesALevelStraightWithConesAtTheRoadEdges");
    checkTrackLayoutStartLineCrossesALevelStraightWithConesAtTheRoadEdges();
  }
  {
    SCOPED_TRACE("TrackSurfaceStartAndRestartStandOnAsphalt");
    checkTrackSurfaceStartAndRestartStandOnAsphalt();
  }
  {
    SCOPED_TRACE("TrackSurfaceRecoveryPointLiesOnTheRoadPointingAlongIt");
    checkTrackSurfaceRecoveryPointLiesOnTheRoadPointingAlongIt();
  }
  {
    SCOPED_TRACE("TrackSurfaceGroundCoversTheWholeResetSquare");
    checkTrackSurfaceGroundCoversTheWholeResetSquare();
  }
  {
    SCOPED_TRACE("TrackModelSurfaceGroupsInOrderFacingUpWithinTheTriangleBudget");
    checkTrackModelSurfaceGroupsInOrderFacingUpWithinTheTriangleBudget();
  }
  {
    SCOPED_TRACE("TrackPropsTreesKeepClearOfTrackCamerasAndMenuOrbit");
    checkTrackPropsTreesKeepClearOfTrackCamerasAndMenuOrbit();
  }
  {
    SCOPED_TRACE("TrackPropsTracksideCameraStandsAboveTheGround");
    checkTrackPropsTracksideCameraStandsAboveTheGround();
  }
  {
    SCOPED_TRACE("TrackPropsCentreLineFileStartsAtTheLineInDrivingOrder");
    checkTrackPropsCentreLineFileStartsAtTheLineInDrivingOrder();
  }
  {
    SCOPED_TRACE("TrackPropsTracksideCameraSeesTheRoadAroundTheStart");
    checkTrackPropsTracksideCameraSeesTheRoadAroundTheStart();
  }
  {
    SCOPED_TRACE("TrackLayoutPassesTheGeneratorsOwnChecks");
    checkTrackLayoutPassesTheGeneratorsOwnChecks();
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, SeededCircuit, ::testing::Values(1, 2, 3, 4, 5),
                         [](const ::testing::TestParamInfo<int>& info) { return "Seed" + std::to_string(info.param); });
