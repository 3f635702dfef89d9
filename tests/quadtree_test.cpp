#include "physics/quadtree.h"

#include "collision_mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

std::vector<int> walk(CollisionQuadtree& tree) {
  std::vector<int> out;
  for (int t = nextResult(tree); t >= 0; t = nextResult(tree)) out.push_back(t);
  return out;
}

bool contains(const QuadtreeNode& node, int t) {
  return std::find(node.triangles.begin(), node.triangles.end(), t) != node.triangles.end();
}

// Root rectangle [0, 8] x [0, 8]: six small triangles in each quadrant plus
// triangle 0, which spans the centre and so lies in all four children.
TriangleSoup quadrantsWithCentre() {
  TriangleSoup soup;
  soup.add(0, Vec3(3.0, 0.0, 3.0), Vec3(3.0, 0.0, 5.0), Vec3(5.0, 0.0, 3.0));
  const double corners[4][2] = {{5.0, 0.5}, {0.5, 0.5}, {0.5, 5.0}, {5.0, 5.0}};  // child 1, 0, 2, 3
  for (const auto& c : corners) {
    for (int k = 0; k < 6; ++k) soup.addFlat(0, c[0] + 0.4 * k, 0.0, c[1], 0.3);
  }
  soup.addFlat(0, 0.0, 0.0, 0.0, 0.1);
  soup.addFlat(0, 7.9, 0.0, 7.9, 0.1);
  return soup;
}

}  // namespace

TEST(Quadtree, EmptyMeshHasInvertedRootAndFindsNothing) {
  TriangleSoup none;
  CollisionQuadtree* tree = none.build();
  ASSERT_NE(tree, nullptr);
  EXPECT_EQ(tree->root->xMin, 1000000.0f);
  EXPECT_EQ(tree->root->xMax, -1000000.0f);
  EXPECT_EQ(tree->root->zMin, 1000000.0f);
  EXPECT_EQ(tree->root->zMax, -1000000.0f);
  EXPECT_FALSE(queryQuadtree(*tree, Vec3(0.0, 0.0, 0.0), 3.0f));
  EXPECT_FALSE(queryQuadtree(*tree, Vec3(0.0, 0.0, 0.0), 3000000.0f));
  EXPECT_EQ(tree->resultCount, 0);
  EXPECT_EQ(nextResult(*tree), -1);
  destroyQuadtree(tree);
}

TEST(Quadtree, RecordsCarryPlaneGroupAndDoublePrecisionVertices) {
  TriangleSoup soup;
  soup.addFlat(0, 1.0, 2.0, 3.0, 0.5);
  soup.add(1, Vec3(0.1, 0.0, 0.0), Vec3(0.0, 1.0, 0.0), Vec3(0.0, 0.0, 1.0));
  CollisionQuadtree* tree = soup.build();
  ASSERT_EQ(tree->triangleCount, 2);
  EXPECT_EQ(tree->group[0], 0);
  EXPECT_EQ(tree->group[1], 1);
  EXPECT_EQ(tree->triangleVerts[1].v[0].x, double(0.1f));
  const TrianglePlane& flat = tree->trianglePlanes[0];
  EXPECT_EQ(flat.normal.y, 1.0);
  EXPECT_EQ(flat.offset, -2.0f);
  EXPECT_EQ(flat.point.z, 3.0);
  destroyQuadtree(tree);
}

TEST(Quadtree, TwentyTrianglesStayOneLeafTwentyOneSplit) {
  TriangleSoup soup;
  for (int k = 0; k < 20; ++k) soup.addFlat(0, double(k), 0.0, double(k), 0.5);
  CollisionQuadtree* twenty = soup.build();
  EXPECT_EQ(twenty->root->children[0], nullptr);
  EXPECT_EQ(twenty->root->triangles.size(), 20u);
  destroyQuadtree(twenty);

  soup.addFlat(0, 20.0, 0.0, 20.0, 0.5);
  CollisionQuadtree* split = soup.build();
  ASSERT_NE(split->root->children[0], nullptr);
  EXPECT_TRUE(split->root->triangles.empty());
  EXPECT_EQ(split->nodeCount, 5);
  destroyQuadtree(split);
}

TEST(Quadtree, DepthBudgetZeroKeepsEveryTriangle) {
  // Triangles that all cover the whole square split down to the depth limit and
  // then stay together in every finest cell.
  TriangleSoup soup;
  for (int k = 0; k < 30; ++k) soup.add(0, Vec3(0.0, 0.0, 0.0), Vec3(0.0, 0.0, 64.0), Vec3(64.0, double(k), 64.0));
  soup.add(0, Vec3(0.0, 0.0, 0.0), Vec3(64.0, 0.0, 64.0), Vec3(64.0, 0.0, 0.0));
  CollisionQuadtree* tree = soup.build();
  EXPECT_EQ(tree->nodeCount, 1 + 4 + 16 + 64 + 256 + 1024 + 4096);
  const QuadtreeNode* node = tree->root;
  for (int depth = 0; depth < 6; ++depth) node = node->children[3];
  EXPECT_EQ(node->children[0], nullptr);
  EXPECT_EQ(node->triangles.size(), 31u);
  EXPECT_EQ(node->xMin, 63.0f);
  EXPECT_EQ(node->xMax, 64.0f);
  destroyQuadtree(tree);
}

TEST(Quadtree, TouchingFootprintIsListedOnBothSides) {
  TriangleSoup soup = quadrantsWithCentre();
  int left = soup.addFlat(0, 3.0, 0.0, 1.0, 1.0);   // x in [3, 4]: touches the x split at 4
  int right = soup.addFlat(0, 4.0, 0.0, 1.5, 1.0);  // x in [4, 5]
  CollisionQuadtree* tree = soup.build();
  const QuadtreeNode& low = *tree->root->children[0];
  const QuadtreeNode& high = *tree->root->children[1];
  EXPECT_EQ(low.xMax, 4.0f);
  EXPECT_TRUE(contains(low, left));
  EXPECT_TRUE(contains(high, left));
  EXPECT_TRUE(contains(low, right));
  EXPECT_TRUE(contains(high, right));
  EXPECT_FALSE(contains(*tree->root->children[2], left));
  destroyQuadtree(tree);
}

TEST(Quadtree, ResultsKeepFirstOccurrencesInChildOrder) {
  CollisionQuadtree* tree = quadrantsWithCentre().build();
  ASSERT_TRUE(queryQuadtree(*tree, Vec3(4.0, 100.0, 4.0), 1.0f));
  // Child 0 holds 0, 7..12 and 25; child 1 holds 0, 1..6; child 2 holds 0, 13..18;
  // child 3 holds 0, 19..24 and 26. Whole leaves are listed, duplicates dropped.
  std::vector<int> expected = {0, 7, 8, 9, 10, 11, 12, 25, 1, 2, 3, 4, 5, 6};
  for (int t = 13; t <= 24; ++t) expected.push_back(t);
  expected.push_back(26);
  EXPECT_EQ(walk(*tree), expected);
  EXPECT_EQ(tree->resultCount, 27);

  // The cursor can be rewound over the same list, and a repeated query gives the same list.
  tree->cursor = 0;
  EXPECT_EQ(walk(*tree), expected);
  ASSERT_TRUE(queryQuadtree(*tree, Vec3(4.0, 0.0, 4.0), 1.0f));
  EXPECT_EQ(walk(*tree), expected);

  // A square inside child 1 alone.
  ASSERT_TRUE(queryQuadtree(*tree, Vec3(6.0, 0.0, 1.0), 0.5f));
  EXPECT_EQ(walk(*tree), std::vector<int>({0, 1, 2, 3, 4, 5, 6}));
  destroyQuadtree(tree);
}

TEST(Quadtree, DeduplicationSurvivesStampWrapAround) {
  CollisionQuadtree* tree = quadrantsWithCentre().build();
  tree->currentStamp = UINT32_MAX - 1;
  for (int query = 0; query < 3; ++query) {
    ASSERT_TRUE(queryQuadtree(*tree, Vec3(4.0, 0.0, 4.0), 1.0f));
    EXPECT_EQ(tree->resultCount, 27) << "query " << query;
  }
  destroyQuadtree(tree);
}

TEST(Quadtree, SquareTouchingTheRootBorderVisitsIt) {
  CollisionQuadtree* tree = quadrantsWithCentre().build();
  ASSERT_EQ(tree->root->xMin, 0.0f);
  EXPECT_TRUE(queryQuadtree(*tree, Vec3(-3.0, 0.0, 1.0), 3.0f));
  EXPECT_EQ(tree->results[0], 0);
  EXPECT_FALSE(queryQuadtree(*tree, Vec3(-3.001, 0.0, 1.0), 3.0f));
  EXPECT_EQ(tree->resultCount, 0);
  EXPECT_TRUE(queryQuadtree(*tree, Vec3(10.0, 0.0, 10.0), 2.0f));
  destroyQuadtree(tree);
}

TEST(Quadtree, BadCountsOrIndicesBuildNothing) {
  float positions[9] = {0, 0, 0, 0, 0, 1, 1, 0, 0};
  const int32_t outOfRange[3] = {0, 1, 3};
  const int32_t negative[3] = {0, -1, 2};
  const int32_t* lists[1] = {outOfRange};
  int one = 1;
  EXPECT_EQ(buildQuadtree(positions, 3, 1, &one, lists), nullptr);
  lists[0] = negative;
  EXPECT_EQ(buildQuadtree(positions, 3, 1, &one, lists), nullptr);
  int minusOne = -1;
  EXPECT_EQ(buildQuadtree(positions, 3, 1, &minusOne, lists), nullptr);
  EXPECT_EQ(buildQuadtree(positions, -3, 0, nullptr, nullptr), nullptr);
}
