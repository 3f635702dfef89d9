#include "physics/contact.h"

#include "physics/quadtree.h"

#include <algorithm>
#include <cassert>

namespace {

// Starting best distance of the boundary search.
constexpr double kFarAway = 1000000.0;

// Slack over the float roundings of the closest-point computation (relative 1e-7
// of lengths up to kilometres), so the footprint test below never drops a
// triangle that the exact search would report.
constexpr double kFootprintSlack = 1e-3;

// True when the triangle's x/z extent lies farther than `reach` from p on either
// axis: then every point of it, and its computed closest point, is out of reach.
bool outOfReach(const TriangleFootprint& f, const Vec3& p, double reach) {
  return p.x < double(f.xMin) - reach || p.x > double(f.xMax) + reach || p.z < double(f.zMin) - reach ||
         p.z > double(f.zMax) + reach;
}

// An x/z box a probe reaches; a footprint wholly beyond it on one axis holds
// no point, and no computed closest point, within the reach.
struct ReachBox {
  double xLow, xHigh, zLow, zHigh;
  bool misses(const TriangleFootprint& f) const {
    return double(f.xMin) > xHigh || double(f.xMax) < xLow || double(f.zMin) > zHigh || double(f.zMax) < zLow;
  }
};

Vec3 triangleNormal(const Vec3& v0, const Vec3& v1, const Vec3& v2) {
  return normalized(cross(v1 - v0, v2 - v1));
}

// closestPointOnSegment with the edge's direction and length given.
Vec3 closestOnEdge(const Vec3& a, const Vec3& b, const Vec3& u, double edgeLength, const Vec3& p) {
  double h = dot(p - a, u);
  if (h < 0.0) return a;
  float hf = float(h);
  if (double(hf) > edgeLength) return b;
  return a + u * double(hf);
}

// closestPointFromFront over a triangle of the tree, from its plane record and
// its precomputed edges (the same values the plain functions compute).
bool closestFromFront(const Vec3& p, const TriangleVerts& tv, const TrianglePlane& plane, const TriangleEdges& e,
                      Vec3& out) {
  float s = float(dot(plane.normal, p) + double(plane.offset));
  // Written as "not in front" so that the non-finite normal of a zero-area
  // triangle also rejects the point.
  if (!(s > 0.0f)) return false;
  bool over = true;
  for (int i = 0; i < 3 && over; ++i) over = !(dot(e.planeNormal[i], p) + double(e.planeOffset[i]) < 0.0);
  if (over) {
    out = p - plane.normal * double(s);
    return true;
  }
  Vec3 best;
  double bestDistance = kFarAway;
  for (int k = 0; k < 3; ++k) {
    Vec3 q = closestOnEdge(tv.v[k], tv.v[(k + 1) % 3], e.direction[k], e.length[k], p);
    double distance = length(q - p);
    if (k == 0) best = q;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = q;
    }
  }
  out = best;
  return true;
}

// One step of the nearest-contact walk: triangle t against the best so far.
void tryTriangle(const CollisionQuadtree& tree, int32_t t, const Vec3& probe, float& best, bool& found,
                 Contact& out) {
  if (outOfReach(tree.footprints[size_t(t)], probe, double(best) + kFootprintSlack)) return;
  const TrianglePlane& plane = tree.trianglePlanes[size_t(t)];
  if (!(dot(plane.normal, probe) + double(plane.offset) < double(best))) return;
  Vec3 closest;
  if (!closestFromFront(probe, tree.triangleVerts[size_t(t)], plane, tree.edges[size_t(t)], closest)) return;
  double distance = length(closest - probe);
  if (distance < double(best)) {
    best = float(distance);
    out.point = closest;
    out.normal = plane.normal;
    out.group = tree.group[size_t(t)];
    found = true;
  }
}

}  // namespace

Vec3 closestPointOnSegment(const Vec3& a, const Vec3& b, const Vec3& p) {
  Vec3 u = normalized(b - a);
  double h = dot(p - a, u);
  if (h < 0.0) return a;
  // The projection is rounded to float before it is compared and used, so a
  // projection of exactly the length gives the interpolated end, not b itself.
  float hf = float(h);
  if (double(hf) > length(a - b)) return b;
  return a + u * double(hf);
}

Vec3 closestPointOnTriangleBoundary(const Vec3& v0, const Vec3& v1, const Vec3& v2, const Vec3& p) {
  const Vec3 edgePoints[3] = {closestPointOnSegment(v0, v1, p), closestPointOnSegment(v1, v2, p),
                              closestPointOnSegment(v2, v0, p)};
  Vec3 best = edgePoints[0];
  double bestDistance = kFarAway;
  for (const Vec3& q : edgePoints) {
    double distance = length(q - p);
    if (distance < bestDistance) {
      bestDistance = distance;
      best = q;
    }
  }
  return best;
}

bool pointOverTriangle(const Vec3& p, const Vec3& v0, const Vec3& v1, const Vec3& v2) {
  Vec3 n = triangleNormal(v0, v1, v2);
  const Vec3* v[3] = {&v0, &v1, &v2};
  for (int i = 0; i < 3; ++i) {
    const Vec3& vi = *v[i];
    const Vec3& vj = *v[(i + 2) % 3];
    // m is the inward normal of the edge plane through vj and vi.
    Vec3 m = cross(n, normalized(vi - vj));
    float d = float(-dot(m, vi));
    if (dot(m, p) + double(d) < 0.0) return false;
  }
  return true;
}

bool closestPointFromFront(const Vec3& p, const Vec3& v0, const Vec3& v1, const Vec3& v2, Vec3& out) {
  Vec3 n = triangleNormal(v0, v1, v2);
  float d = float(-dot(n, v0));
  float s = float(dot(n, p) + double(d));
  if (!(s > 0.0f)) return false;
  if (pointOverTriangle(p, v0, v1, v2)) {
    out = p - n * double(s);
  } else {
    out = closestPointOnTriangleBoundary(v0, v1, v2, p);
  }
  return true;
}

bool nearestContact(CollisionQuadtree& tree, const Vec3& probe, float radius, Contact& out) {
  float best = radius;
  bool found = false;
  // Walks the result list with the tree's own cursor, as nextResult would.
  for (tree.cursor = 0; tree.cursor < tree.resultCount;) {
    tryTriangle(tree, tree.results[size_t(tree.cursor++)], probe, best, found, out);
  }
  return found;
}

void nearestContacts(CollisionQuadtree& tree, int count, const Vec3* probes, const float* radii, Contact* out,
                     bool* found) {
  assert(count >= 0 && count <= CollisionQuadtree::kMaxProbes && "too many probes for one search");
  // One pass over the result list: a triangle out of a probe's starting reach
  // can never become its contact, and each list keeps the result order.
  // Each probe's reach as an x/z box, and the box around them all, which
  // most results of the query lie outside.
  ReachBox boxes[CollisionQuadtree::kMaxProbes];
  ReachBox all{kFarAway, -kFarAway, kFarAway, -kFarAway};
  for (int k = 0; k < count; ++k) {
    tree.candidates[k].clear();
    double reach = double(radii[k]) + kFootprintSlack;
    boxes[k] = {probes[k].x - reach, probes[k].x + reach, probes[k].z - reach, probes[k].z + reach};
    all = {std::min(all.xLow, boxes[k].xLow), std::max(all.xHigh, boxes[k].xHigh), std::min(all.zLow, boxes[k].zLow),
           std::max(all.zHigh, boxes[k].zHigh)};
  }
  for (int i = 0; i < tree.resultCount; ++i) {
    int32_t t = tree.results[size_t(i)];
    const TriangleFootprint& f = tree.footprints[size_t(t)];
    if (all.misses(f)) continue;
    for (int k = 0; k < count; ++k) {
      if (!boxes[k].misses(f)) tree.candidates[k].push_back(t);
    }
  }
  for (int k = 0; k < count; ++k) {
    float best = radii[k];
    found[k] = false;
    for (int32_t t : tree.candidates[k]) tryTriangle(tree, t, probes[k], best, found[k], out[k]);
  }
  tree.cursor = tree.resultCount;
}
