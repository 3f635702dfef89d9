#include "physics/world.h"

void PhWorld::addBody(PhBody* body) { bodies.append(body); }

void PhWorld::attachTree(CollisionQuadtree* collisionTree) { tree = collisionTree; }

void PhWorld::step() {
  for (PhBody* body : bodies) {
    body->force = Vec3(0.0, 0.0, 0.0);
    body->torque = Vec3(0.0, 0.0, 0.0);
  }
  for (PhBody* body : bodies) body->Step();
  for (PhBody* body : bodies) body->Integrate();
  ++stepCount;
}

bool PhWorld::queryAround(const Vec3& centre, float radius) {
  return tree != nullptr && queryQuadtree(*tree, centre, radius);
}

bool PhWorld::nearestContact(const Vec3& probe, float radius, Contact& out) {
  return tree != nullptr && ::nearestContact(*tree, probe, radius, out);
}

void PhWorld::nearestContacts(int count, const Vec3* probes, const float* radii, Contact* out, bool* found) {
  if (tree != nullptr) {
    ::nearestContacts(*tree, count, probes, radii, out, found);
    return;
  }
  for (int k = 0; k < count; ++k) found[k] = false;
}
