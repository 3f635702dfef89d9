#include "physics/contact.h"

#include "physics/quadtree.h"

Vec3 closestPointOnSegment(const Vec3& a, const Vec3&, const Vec3&) { return a; }
Vec3 closestPointOnTriangleBoundary(const Vec3& v0, const Vec3&, const Vec3&, const Vec3&) { return v0; }
bool pointOverTriangle(const Vec3&, const Vec3&, const Vec3&, const Vec3&) { return false; }
bool closestPointFromFront(const Vec3&, const Vec3&, const Vec3&, const Vec3&, Vec3&) { return false; }
bool nearestContact(CollisionQuadtree&, const Vec3&, float, Contact&) { return false; }
