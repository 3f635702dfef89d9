#include "physics/quadtree.h"

CollisionQuadtree* buildQuadtree(const float*, int, int, const int*, const int32_t* const*) {
  return new CollisionQuadtree();
}
bool queryQuadtree(CollisionQuadtree&, const Vec3&, float) { return false; }
int nextResult(CollisionQuadtree&) { return -1; }
void destroyQuadtree(CollisionQuadtree* tree) { delete tree; }
