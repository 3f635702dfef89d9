#pragma once

#include "physics/vec3.h"

struct CollisionQuadtree;

// Closest point to p on the segment a-b (a != b).
Vec3 closestPointOnSegment(const Vec3& a, const Vec3& b, const Vec3& p);

// Closest point to p on the edges v0-v1, v1-v2, v2-v0; ties go to the earlier edge.
Vec3 closestPointOnTriangleBoundary(const Vec3& v0, const Vec3& v1, const Vec3& v2, const Vec3& p);

// True when p lies on the inner side of, or on, all three edge planes of the triangle.
bool pointOverTriangle(const Vec3& p, const Vec3& v0, const Vec3& v1, const Vec3& v2);

// Closest point of the triangle to a p strictly in front of its plane; `out` is
// written only when the result is true.
bool closestPointFromFront(const Vec3& p, const Vec3& v0, const Vec3& v1, const Vec3& v2, Vec3& out);

// A point of the track surface near a probe.
struct Contact {
  Vec3 point;   // world, m
  Vec3 normal;  // the triangle's plane normal
  int group;    // material group of the triangle (surface kind)
};

// Walks the result list of the tree's last query for the nearest front-side point
// strictly closer than `radius` to `probe`; ties keep the earlier triangle. `out`
// is written only when a contact is found. Moves the tree's cursor.
bool nearestContact(CollisionQuadtree& tree, const Vec3& probe, float radius, Contact& out);

// The same search for several probes over the same query (at most
// CollisionQuadtree::kMaxProbes): found[k] and out[k] are what nearestContact
// gives for probes[k] and radii[k] (out[k] written only when found), with one
// pass over the result list for all of them.
void nearestContacts(CollisionQuadtree& tree, int count, const Vec3* probes, const float* radii, Contact* out,
                     bool* found);
