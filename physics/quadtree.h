#pragma once

#include "physics/vec3.h"

#include <cstdint>
#include <vector>

// The track's collision mesh indexed by a quadtree over the ground plane (x and z;
// y is up). Built once at start-up; afterwards only the query results change.

// The three vertices of a triangle, in the model's winding order.
struct TriangleVerts {
  Vec3 v[3];
};

// normal . p + offset = 0 for points p on the triangle's plane.
struct TrianglePlane {
  Vec3 point;    // a copy of v0
  Vec3 normal;   // unit length (not finite for a zero-area triangle)
  float offset;  // -(normal . v0)
};

// What the contact search needs of a triangle's edges, computed once at build
// time with the formulas the closest-point queries use. Edge k runs from v[k]
// to v[k+1] (v[3] = v[0]).
struct TriangleEdges {
  Vec3 direction[3];    // normalized(v[k+1] - v[k])
  double length[3];     // |v[k] - v[k+1]|
  // The edge plane through vertex i and the one before it (i - 1, wrapping):
  // m = cross(normal, normalized(v[i] - v[i-1])) points into the triangle,
  // and m . p + offset >= 0 for points over it.
  Vec3 planeNormal[3];
  float planeOffset[3];  // -(m . v[i]) in single precision
};

// A triangle's extent in x and z.
struct TriangleFootprint {
  float xMin, xMax, zMin, zMax;
};

// A rectangle of the x/z plane, closed on every side. Inner nodes have four children
// (0: low x low z, 1: high x low z, 2: low x high z, 3: high x high z); only leaves
// hold triangle numbers.
struct QuadtreeNode {
  float xMin, xMax, zMin, zMax;
  std::vector<int32_t> triangles;  // leaves only; an empty leaf holds none
  QuadtreeNode* children[4] = {nullptr, nullptr, nullptr, nullptr};
};

struct CollisionQuadtree {
  static constexpr int kMaxDepth = 6;
  static constexpr int kLeafLimit = 20;

  int triangleCount = 0;
  std::vector<TriangleVerts> triangleVerts;
  std::vector<TrianglePlane> trianglePlanes;
  std::vector<int32_t> group;    // material group each triangle came from
  std::vector<TriangleFootprint> footprints;  // for the build and the contact search's reach test
  std::vector<TriangleEdges> edges;          // for the contact search
  std::vector<int32_t> results;  // room for every triangle; the last query's hits
  int resultCount = 0;
  int cursor = 0;
  QuadtreeNode* root = nullptr;

  // Bookkeeping that makes de-duplication linear in the result count: a triangle
  // already listed by the current query carries the current stamp.
  std::vector<uint32_t> queryStamp;
  uint32_t currentStamp = 0;

  // Each probe's candidates of a search over several probes (reused, so a
  // search allocates only until the lists have grown to the longest query).
  static constexpr int kMaxProbes = 4;
  std::vector<int32_t> candidates[kMaxProbes];

  // Build statistics.
  int nodeCount = 0;
  int leafCount = 0;  // leaves holding triangles
};

// Builds the collision mesh and its tree from plain arrays: `positions` holds three
// floats per vertex; group g has groupTriangleCounts[g] triangles whose 3 * count
// vertex indices are at groupIndices[g]. Null (with a log line) when a count is
// negative or an index is outside 0..vertexCount-1.
CollisionQuadtree* buildQuadtree(const float* positions, int vertexCount, int groupCount,
                                 const int* groupTriangleCounts, const int32_t* const* groupIndices);

// Lists, each once, every triangle held by a leaf that overlaps the square of
// half-width `radius` around `centre` in x/z (touching counts). Resets the cursor.
// True when at least one overlapping leaf held triangles.
bool queryQuadtree(CollisionQuadtree& tree, const Vec3& centre, float radius);

// The next triangle number of the last query, or -1 when the list is used up.
int nextResult(CollisionQuadtree& tree);

// Frees the nodes, the per-triangle arrays and the tree itself. Null is allowed.
void destroyQuadtree(CollisionQuadtree* tree);
