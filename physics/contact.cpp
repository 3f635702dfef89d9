#include "physics/contact.h"

#include "physics/quadtree.h"

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

Vec3 triangleNormal(const Vec3& v0, const Vec3& v1, const Vec3& v2) {
  return normalized(cross(v1 - v0, v2 - v1));
}

// The front-side query with the triangle's normal n and plane offset d given, so
// the contact search can use the plane record built from the same vertices.
bool closestFromFront(const Vec3& p, const Vec3& v0, const Vec3& v1, const Vec3& v2, const Vec3& n, float d,
                      Vec3& out) {
  float s = float(dot(n, p) + double(d));
  // Written as "not in front" so that the non-finite normal of a zero-area
  // triangle also rejects the point.
  if (!(s > 0.0f)) return false;
  if (pointOverTriangle(p, v0, v1, v2)) {
    out = p - n * double(s);
  } else {
    out = closestPointOnTriangleBoundary(v0, v1, v2, p);
  }
  return true;
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
  return closestFromFront(p, v0, v1, v2, n, float(-dot(n, v0)), out);
}

bool nearestContact(CollisionQuadtree& tree, const Vec3& probe, float radius, Contact& out) {
  float best = radius;
  bool found = false;
  // Walks the result list with the tree's own cursor, as nextResult would.
  for (tree.cursor = 0; tree.cursor < tree.resultCount;) {
    int32_t t = tree.results[size_t(tree.cursor++)];
    if (outOfReach(tree.footprints[size_t(t)], probe, double(best) + kFootprintSlack)) continue;
    const TrianglePlane& plane = tree.trianglePlanes[size_t(t)];
    if (!(dot(plane.normal, probe) + double(plane.offset) < double(best))) continue;
    const TriangleVerts& tv = tree.triangleVerts[size_t(t)];
    Vec3 closest;
    if (!closestFromFront(probe, tv.v[0], tv.v[1], tv.v[2], plane.normal, plane.offset, closest)) continue;
    double distance = length(closest - probe);
    if (distance < double(best)) {
      best = float(distance);
      out.point = closest;
      out.normal = plane.normal;
      out.group = tree.group[size_t(t)];
      found = true;
    }
  }
  return found;
}
