#include "physics/contact.h"

#include "collision_mesh.h"
#include "physics/quadtree.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

// Projections and plane distances are rounded to float along the way.
constexpr double kTol = 1e-6;

void expectVec(const Vec3& got, const Vec3& want, double tol = kTol) {
  EXPECT_NEAR(got.x, want.x, tol);
  EXPECT_NEAR(got.y, want.y, tol);
  EXPECT_NEAR(got.z, want.z, tol);
}

// Upward-facing (counter-clockwise seen from +y) right triangle in y = 0.
const Vec3 kV0(0.0, 0.0, 0.0);
const Vec3 kV1(0.0, 0.0, 2.0);
const Vec3 kV2(2.0, 0.0, 0.0);

const Contact kUntouched{Vec3(7.0, 7.0, 7.0), Vec3(7.0, 7.0, 7.0), 77};

}  // namespace

TEST(ClosestPointOnSegment, EndCases) {
  Vec3 a(1.0, 0.0, 0.0);
  Vec3 b(4.0, 0.0, 0.0);
  expectVec(closestPointOnSegment(a, b, Vec3(-1.0, 2.0, 0.0)), a);
  expectVec(closestPointOnSegment(a, b, Vec3(9.0, 0.0, 1.0)), b);
  Vec3 aboveA = closestPointOnSegment(a, b, Vec3(1.0, 5.0, 0.0));
  EXPECT_EQ(aboveA.x, 1.0);
  expectVec(closestPointOnSegment(a, b, Vec3(2.5, 3.0, 0.0)), Vec3(2.5, 0.0, 0.0));

  // A projection of exactly the length gives a + u * length, which here is not b.
  Vec3 end = closestPointOnSegment(Vec3(0.0, 0.0, 0.0), Vec3(3.0, 4.0, 0.0), Vec3(3.0, 4.0, 0.0));
  double ux = 3.0 * (1.0 / 5.0);
  EXPECT_EQ(end.x, ux * 5.0);
  EXPECT_NE(end.x, 3.0);
}

TEST(ClosestPointOnTriangleBoundary, TiesGoToTheEarlierEdge) {
  // Equally far from edge v0-v1 (x = 0) and edge v2-v0 (z = 0).
  expectVec(closestPointOnTriangleBoundary(kV0, kV1, kV2, Vec3(0.5, 1.0, 0.5)), Vec3(0.0, 0.0, 0.5));
  expectVec(closestPointOnTriangleBoundary(kV0, kV1, kV2, Vec3(1.5, 0.0, 1.5)), Vec3(1.0, 0.0, 1.0));
}

TEST(PointOverTriangle, EdgePlanesAreInclusive) {
  EXPECT_TRUE(pointOverTriangle(Vec3(0.5, 3.0, 0.5), kV0, kV1, kV2));
  EXPECT_TRUE(pointOverTriangle(Vec3(0.0, 3.0, 1.0), kV0, kV1, kV2));
  EXPECT_TRUE(pointOverTriangle(Vec3(1.0, -3.0, 0.0), kV0, kV1, kV2));
  EXPECT_FALSE(pointOverTriangle(Vec3(1.0, 3.0, -1e-9), kV0, kV1, kV2));
  EXPECT_FALSE(pointOverTriangle(Vec3(1.5, 3.0, 1.5), kV0, kV1, kV2));
}

TEST(ClosestPointFromFront, OnlyPointsInFrontFindTheTriangle) {
  Vec3 out(9.0, 9.0, 9.0);
  EXPECT_FALSE(closestPointFromFront(Vec3(0.5, 0.0, 0.5), kV0, kV1, kV2, out));
  EXPECT_FALSE(closestPointFromFront(Vec3(0.5, -1.0, 0.5), kV0, kV1, kV2, out));
  expectVec(out, Vec3(9.0, 9.0, 9.0));

  ASSERT_TRUE(closestPointFromFront(Vec3(0.5, 1.0, 0.25), kV0, kV1, kV2, out));
  expectVec(out, Vec3(0.5, 0.0, 0.25));
  ASSERT_TRUE(closestPointFromFront(Vec3(-1.0, 1.0, 1.0), kV0, kV1, kV2, out));
  expectVec(out, Vec3(0.0, 0.0, 1.0));

  // A zero-area triangle has no front.
  EXPECT_FALSE(closestPointFromFront(Vec3(0.5, 1.0, 0.0), kV0, kV2, Vec3(1.0, 0.0, 0.0), out));
}

TEST(NearestContact, PlaneExactlyAtRadiusIsSkipped) {
  TriangleSoup soup;
  soup.addFlat(3, -5.0, 0.0, -5.0, 20.0);
  CollisionQuadtree* tree = soup.build();
  ASSERT_TRUE(queryQuadtree(*tree, Vec3(0.0, 0.0, 0.0), 3.0f));
  Contact c = kUntouched;
  EXPECT_FALSE(nearestContact(*tree, Vec3(0.0, 0.25, 0.0), 0.25f, c));
  EXPECT_EQ(c.group, 77);
  ASSERT_TRUE(nearestContact(*tree, Vec3(0.0, 0.2499, 0.0), 0.25f, c));
  expectVec(c.point, Vec3(0.0, 0.0, 0.0));
  expectVec(c.normal, Vec3(0.0, 1.0, 0.0));
  EXPECT_EQ(c.group, 3);
  destroyQuadtree(tree);
}

TEST(NearestContact, NearestWinsAndEqualDistancesKeepTheFirst) {
  TriangleSoup soup;
  soup.addFlat(0, -5.0, 0.0, -5.0, 20.0);
  soup.addFlat(1, -5.0, 0.0, -5.0, 20.0);
  soup.addFlat(2, -5.0, -0.1, -5.0, 20.0);
  soup.add(3, Vec3(-1.0, 0.5, -1.0), Vec3(1.0, 0.5, -1.0), Vec3(0.0, 0.5, 1.0));  // faces down
  soup.add(4, Vec3(0.0, 0.1, 0.0), Vec3(1.0, 0.1, 0.0), Vec3(2.0, 0.1, 0.0));     // zero area
  CollisionQuadtree* tree = soup.build();
  ASSERT_TRUE(queryQuadtree(*tree, Vec3(0.0, 0.0, 0.0), 3.0f));
  Contact c = kUntouched;
  ASSERT_TRUE(nearestContact(*tree, Vec3(0.5, 0.2, 0.0), 0.271f, c));
  EXPECT_EQ(c.group, 0);
  expectVec(c.point, Vec3(0.5, 0.0, 0.0));

  // Below the first two planes only the lowest triangle is in front.
  ASSERT_TRUE(nearestContact(*tree, Vec3(0.5, -0.05, 0.0), 0.271f, c));
  EXPECT_EQ(c.group, 2);
  destroyQuadtree(tree);
}

TEST(NearestContact, ProbeBesideAnEdgeFindsTheEdge) {
  TriangleSoup soup;
  soup.addFlat(0, 0.0, 0.0, 0.0, 2.0);
  CollisionQuadtree* tree = soup.build();
  ASSERT_TRUE(queryQuadtree(*tree, Vec3(0.0, 0.0, 0.0), 3.0f));
  Contact c = kUntouched;
  ASSERT_TRUE(nearestContact(*tree, Vec3(-0.1, 0.1, 0.5), 0.271f, c));
  expectVec(c.point, Vec3(0.0, 0.0, 0.5));
  EXPECT_FALSE(nearestContact(*tree, Vec3(-0.2, 0.2, 0.5), 0.271f, c));
  destroyQuadtree(tree);
}

TEST(NearestContact, EmptyResultListLeavesOutputsUntouched) {
  TriangleSoup soup;
  soup.addFlat(0, 0.0, 0.0, 0.0, 1.0);
  CollisionQuadtree* tree = soup.build();
  EXPECT_FALSE(queryQuadtree(*tree, Vec3(50.0, 0.0, 50.0), 3.0f));
  Contact c = kUntouched;
  EXPECT_FALSE(nearestContact(*tree, Vec3(0.2, 0.1, 0.2), 0.271f, c));
  expectVec(c.point, kUntouched.point);
  EXPECT_EQ(c.group, 77);
  destroyQuadtree(tree);
}

TEST(NearestContact, SkippingFarTrianglesChangesNoAnswer) {
  // A bumpy patch probed all over, compared with a walk that tries every listed triangle.
  TriangleSoup soup;
  auto height = [](int i, int j) { return 0.3 * std::sin(i * 1.7) * std::cos(j * 2.3); };
  for (int i = 0; i < 8; ++i) {
    for (int j = 0; j < 8; ++j) {
      Vec3 a(i, height(i, j), j), b(i + 1, height(i + 1, j), j);
      Vec3 c(i, height(i, j + 1), j + 1), d(i + 1, height(i + 1, j + 1), j + 1);
      soup.add(0, a, c, b);
      soup.add(0, b, c, d);
    }
  }
  CollisionQuadtree* tree = soup.build();
  int found = 0;
  for (int k = 0; k < 400; ++k) {
    Vec3 probe(0.5 + 0.0173 * k, 0.05 + 0.3 * std::sin(k * 0.7), 7.5 - 0.0171 * k);
    ASSERT_TRUE(queryQuadtree(*tree, probe, 3.0f));
    Contact fast = kUntouched;
    bool hit = nearestContact(*tree, probe, 0.271f, fast);
    float best = 0.271f;
    Contact full = kUntouched;
    tree->cursor = 0;
    for (int t = nextResult(*tree); t >= 0; t = nextResult(*tree)) {
      const TriangleVerts& tv = tree->triangleVerts[t];
      Vec3 q;
      if (!closestPointFromFront(probe, tv.v[0], tv.v[1], tv.v[2], q)) continue;
      if (length(q - probe) < best) {
        best = float(length(q - probe));
        full.point = q;
      }
    }
    ASSERT_EQ(hit, best < 0.271f) << "probe " << k;
    EXPECT_EQ(fast.point.x, full.point.x);
    EXPECT_EQ(fast.point.y, full.point.y);
    found += hit ? 1 : 0;
  }
  EXPECT_GT(found, 100);
  destroyQuadtree(tree);
}

namespace {

// The search as the closest-point primitives state it: every listed triangle,
// its plane pre-test, the front-side closest point, the strictly nearer one.
bool plainWalk(CollisionQuadtree& tree, const Vec3& probe, float radius, Contact& out) {
  float best = radius;
  bool found = false;
  for (int i = 0; i < tree.resultCount; ++i) {
    int32_t t = tree.results[size_t(i)];
    const TrianglePlane& plane = tree.trianglePlanes[size_t(t)];
    if (!(dot(plane.normal, probe) + double(plane.offset) < double(best))) continue;
    const TriangleVerts& tv = tree.triangleVerts[size_t(t)];
    Vec3 closest;
    if (!closestPointFromFront(probe, tv.v[0], tv.v[1], tv.v[2], closest)) continue;
    double distance = length(closest - probe);
    if (distance < double(best)) {
      best = float(distance);
      out = {closest, plane.normal, tree.group[size_t(t)]};
      found = true;
    }
  }
  return found;
}

// Bit for bit: the car's trajectory depends on every digit.
void expectSameContact(bool gotFound, const Contact& got, bool wantFound, const Contact& want) {
  ASSERT_EQ(gotFound, wantFound);
  if (!wantFound) return;
  EXPECT_EQ(got.point.x, want.point.x);
  EXPECT_EQ(got.point.y, want.point.y);
  EXPECT_EQ(got.point.z, want.point.z);
  EXPECT_EQ(got.normal.x, want.normal.x);
  EXPECT_EQ(got.normal.y, want.normal.y);
  EXPECT_EQ(got.normal.z, want.normal.z);
  EXPECT_EQ(got.group, want.group);
}

}  // namespace

TEST(NearestContact, AnswersEqualThePlainWalkOnRandomProbes) {
  // Bumpy ground of jittered cells in two groups, kerbs standing up from it,
  // and a few sliver and zero-area triangles.
  std::srand(1234);
  auto jitter = [] { return (std::rand() % 2001 - 1000) * 1e-4; };
  TriangleSoup soup;
  const double cell = 1.7;
  for (int i = 0; i < 12; ++i) {
    for (int j = 0; j < 12; ++j) {
      double x = i * cell, z = j * cell;
      Vec3 a(x + jitter(), jitter(), z + jitter()), b(x + jitter(), jitter(), z + cell + jitter());
      Vec3 c(x + cell + jitter(), jitter(), z + jitter()), d(x + cell + jitter(), jitter(), z + cell + jitter());
      soup.add((i + j) % 2, a, b, c);
      soup.add((i + j) % 2, d, c, b);
    }
  }
  for (int i = 0; i < 10; ++i) {
    double x = 2.0 * i;
    soup.add(2, Vec3(x, 0, 6), Vec3(x, 0.4, 6.1), Vec3(x + 2, 0, 6));
    soup.add(2, Vec3(x, 0, 9), Vec3(x + 1e-4, 0.3, 9), Vec3(x + 2e-4, 0.6, 9));
    soup.add(2, Vec3(x, 0.2, 12), Vec3(x, 0.2, 12), Vec3(x + 1, 0.2, 12));
  }
  CollisionQuadtree* tree = soup.build();
  ASSERT_NE(tree, nullptr);
  auto uniform = [](double low, double high) { return low + (high - low) * (std::rand() % 10001) / 10000.0; };
  int contacts = 0, misses = 0;
  for (int trial = 0; trial < 400; ++trial) {
    Vec3 centre(uniform(0, 20), 0, uniform(0, 20));
    ASSERT_TRUE(queryQuadtree(*tree, centre, 3.0f));
    Vec3 probes[4];
    float radii[4];
    Contact want[4], single[4], batch[4];
    bool wantFound[4], singleFound[4], batchFound[4];
    for (int k = 0; k < 4; ++k) {
      probes[k] = centre + Vec3(uniform(-2.5, 2.5), uniform(-0.5, 1.0), uniform(-2.5, 2.5));
      radii[k] = float(uniform(0.05, 1.5));
      wantFound[k] = plainWalk(*tree, probes[k], radii[k], want[k]);
      ++(wantFound[k] ? contacts : misses);
      singleFound[k] = nearestContact(*tree, probes[k], radii[k], single[k]);
      expectSameContact(singleFound[k], single[k], wantFound[k], want[k]);
      EXPECT_EQ(tree->cursor, tree->resultCount);
    }
    nearestContacts(*tree, 4, probes, radii, batch, batchFound);
    for (int k = 0; k < 4; ++k) expectSameContact(batchFound[k], batch[k], wantFound[k], want[k]);
  }
  EXPECT_GT(contacts, 400);
  EXPECT_GT(misses, 400);
  destroyQuadtree(tree);
}
