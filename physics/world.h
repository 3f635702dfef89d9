#pragma once

#include "physics/body.h"
#include "physics/contact.h"
#include "physics/ptr_list.h"
#include "physics/quadtree.h"

#include <cstdint>

// The simulated bodies and the track they touch. Owns neither.
class PhWorld {
 public:
  PtrList<PhBody> bodies;             // in the order they were added
  CollisionQuadtree* tree = nullptr;  // set once after the build
  int32_t stepCount = 0;

  void addBody(PhBody* body);
  void attachTree(CollisionQuadtree* collisionTree);

  // One tick: every body's force and torque zeroed, then every Step, then every
  // Integrate, each in list order; then stepCount grows by one.
  void step();

  // The tree's square query; false when no tree is attached.
  bool queryAround(const Vec3& centre, float radius);
  // The tree's nearest-contact search over the last query; false when no tree is attached.
  bool nearestContact(const Vec3& probe, float radius, Contact& out);
  // The same for several probes over the last query in one pass; every found[k]
  // false when no tree is attached.
  void nearestContacts(int count, const Vec3* probes, const float* radii, Contact* out, bool* found);
};
