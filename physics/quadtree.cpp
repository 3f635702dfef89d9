#include "physics/quadtree.h"

#include "app/log.h"

#include <algorithm>
#include <cstddef>

namespace {

// Bounds of an empty fold: a mesh without triangles keeps an inverted root.
constexpr float kFoldStart = 1000000.0f;

struct Square {
  float xMin, xMax, zMin, zMax;
};

// Touching counts as overlap: a triangle whose edge lies on a cell border is
// listed on both sides, so a query on the border cannot miss it.
bool overlaps(const QuadtreeNode& node, const TriangleFootprint& f) {
  return node.xMin <= f.xMax && f.xMin <= node.xMax && node.zMin <= f.zMax && f.zMin <= node.zMax;
}

bool overlaps(const QuadtreeNode& node, const Square& s) {
  return s.xMax >= node.xMin && s.xMin <= node.xMax && s.zMax >= node.zMin && s.zMin <= node.zMax;
}

QuadtreeNode* newNode(CollisionQuadtree& tree, float xMin, float xMax, float zMin, float zMax) {
  QuadtreeNode* node = new QuadtreeNode();
  node->xMin = xMin;
  node->xMax = xMax;
  node->zMin = zMin;
  node->zMax = zMax;
  ++tree.nodeCount;
  return node;
}

void fillNode(CollisionQuadtree& tree, QuadtreeNode& node, int depthBudget, const std::vector<int32_t>& input) {
  if (input.empty()) return;
  std::vector<int32_t> listed;
  listed.reserve(input.size());
  for (int32_t t : input) {
    if (overlaps(node, tree.footprints[size_t(t)])) listed.push_back(t);
  }
  if (listed.empty()) return;
  if (depthBudget < 1 || int(listed.size()) <= CollisionQuadtree::kLeafLimit) {
    listed.shrink_to_fit();
    node.triangles = std::move(listed);
    ++tree.leafCount;
    return;
  }
  float xMid = (node.xMin + node.xMax) * 0.5f;
  float zMid = (node.zMin + node.zMax) * 0.5f;
  node.children[0] = newNode(tree, node.xMin, xMid, node.zMin, zMid);
  node.children[1] = newNode(tree, xMid, node.xMax, node.zMin, zMid);
  node.children[2] = newNode(tree, node.xMin, xMid, zMid, node.zMax);
  node.children[3] = newNode(tree, xMid, node.xMax, zMid, node.zMax);
  for (QuadtreeNode* child : node.children) fillNode(tree, *child, depthBudget - 1, listed);
}

bool queryNode(CollisionQuadtree& tree, const QuadtreeNode& node, const Square& square) {
  if (!overlaps(node, square)) return false;
  if (node.children[0] != nullptr) {
    bool any = false;
    for (const QuadtreeNode* child : node.children) any = queryNode(tree, *child, square) || any;
    return any;
  }
  if (node.triangles.empty()) return false;
  for (int32_t t : node.triangles) {
    uint32_t& stamp = tree.queryStamp[size_t(t)];
    if (stamp == tree.currentStamp) continue;
    stamp = tree.currentStamp;
    tree.results[size_t(tree.resultCount++)] = t;
  }
  return true;
}

void freeNode(QuadtreeNode* node) {
  if (node == nullptr) return;
  for (QuadtreeNode* child : node->children) freeNode(child);
  delete node;
}

void fillEdges(const TriangleVerts& tv, const Vec3& normal, TriangleEdges& e) {
  for (int k = 0; k < 3; ++k) {
    const Vec3& a = tv.v[k];
    const Vec3& b = tv.v[(k + 1) % 3];
    e.direction[k] = normalized(b - a);
    e.length[k] = length(a - b);
  }
  for (int i = 0; i < 3; ++i) {
    // The edge arriving at vertex i is edge i - 1.
    e.planeNormal[i] = cross(normal, e.direction[(i + 2) % 3]);
    e.planeOffset[i] = float(-dot(e.planeNormal[i], tv.v[i]));
  }
}

// Checks the arrays before anything is built; the counts and indices come from a file.
bool validInput(const float* positions, int vertexCount, int groupCount, const int* groupTriangleCounts,
                const int32_t* const* groupIndices, int& triangleCount) {
  if (vertexCount < 0 || groupCount < 0 || (vertexCount > 0 && positions == nullptr) ||
      (groupCount > 0 && (groupTriangleCounts == nullptr || groupIndices == nullptr))) {
    logLine("Main: Collision mesh rejected: negative count or missing array");
    return false;
  }
  int64_t total = 0;
  for (int g = 0; g < groupCount; ++g) {
    int count = groupTriangleCounts[g];
    if (count < 0 || (count > 0 && groupIndices[g] == nullptr)) {
      logLine("Main: Collision mesh rejected: group %d has a bad triangle list", g);
      return false;
    }
    total += count;
    if (total > INT32_MAX / 3) {
      logLine("Main: Collision mesh rejected: too many triangles");
      return false;
    }
    for (int64_t k = 0; k < int64_t(count) * 3; ++k) {
      int32_t index = groupIndices[g][k];
      if (index < 0 || index >= vertexCount) {
        logLine("Main: Collision mesh rejected: vertex index %d out of range in group %d", index, g);
        return false;
      }
    }
  }
  triangleCount = int(total);
  return true;
}

}  // namespace

CollisionQuadtree* buildQuadtree(const float* positions, int vertexCount, int groupCount,
                                 const int* groupTriangleCounts, const int32_t* const* groupIndices) {
  int n = 0;
  if (!validInput(positions, vertexCount, groupCount, groupTriangleCounts, groupIndices, n)) return nullptr;

  CollisionQuadtree* tree = new CollisionQuadtree();
  tree->triangleCount = n;
  tree->triangleVerts.resize(size_t(n));
  tree->trianglePlanes.resize(size_t(n));
  tree->group.resize(size_t(n));
  tree->results.resize(size_t(n));
  tree->queryStamp.assign(size_t(n), 0);
  tree->footprints.resize(size_t(n));
  tree->edges.resize(size_t(n));

  float xMin = kFoldStart, xMax = -kFoldStart, zMin = kFoldStart, zMax = -kFoldStart;
  size_t i = 0;
  for (int g = 0; g < groupCount; ++g) {
    for (int k = 0; k < groupTriangleCounts[g]; ++k, ++i) {
      TriangleVerts& tv = tree->triangleVerts[i];
      TriangleFootprint& f = tree->footprints[i];
      f = {kFoldStart, -kFoldStart, kFoldStart, -kFoldStart};
      for (int c = 0; c < 3; ++c) {
        const float* p = positions + 3 * size_t(groupIndices[g][3 * size_t(k) + size_t(c)]);
        tv.v[c] = Vec3(p[0], p[1], p[2]);
        xMin = std::min(xMin, p[0]);
        xMax = std::max(xMax, p[0]);
        zMin = std::min(zMin, p[2]);
        zMax = std::max(zMax, p[2]);
        f.xMin = std::min(f.xMin, p[0]);
        f.xMax = std::max(f.xMax, p[0]);
        f.zMin = std::min(f.zMin, p[2]);
        f.zMax = std::max(f.zMax, p[2]);
      }
      TrianglePlane& plane = tree->trianglePlanes[i];
      plane.point = tv.v[0];
      plane.normal = normalized(cross(tv.v[1] - tv.v[0], tv.v[2] - tv.v[1]));
      plane.offset = float(-dot(plane.normal, tv.v[0]));
      fillEdges(tv, plane.normal, tree->edges[i]);
      tree->group[i] = g;
      tree->results[i] = int32_t(i);
    }
  }

  tree->root = newNode(*tree, xMin, xMax, zMin, zMax);
  fillNode(*tree, *tree->root, CollisionQuadtree::kMaxDepth, tree->results);
  tree->resultCount = 0;
  tree->cursor = 0;
  return tree;
}

bool queryQuadtree(CollisionQuadtree& tree, const Vec3& centre, float radius) {
  tree.resultCount = 0;
  tree.cursor = 0;
  float cx = float(centre.x);
  float cz = float(centre.z);
  Square square{cx - radius, cx + radius, cz - radius, cz + radius};
  // A new stamp marks nothing listed yet; on wrap-around the old marks are cleared.
  if (++tree.currentStamp == 0) {
    std::fill(tree.queryStamp.begin(), tree.queryStamp.end(), 0u);
    tree.currentStamp = 1;
  }
  return tree.root != nullptr && queryNode(tree, *tree.root, square);
}

int nextResult(CollisionQuadtree& tree) {
  if (tree.cursor >= tree.resultCount) return -1;
  return tree.results[size_t(tree.cursor++)];
}

void destroyQuadtree(CollisionQuadtree* tree) {
  if (tree == nullptr) return;
  freeNode(tree->root);
  delete tree;
}
