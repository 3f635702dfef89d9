#include "physics/track_collision.h"

#include "app/log.h"
#include "render/rmd_mesh.h"

#include <cstdint>
#include <vector>

CollisionQuadtree* buildTrackQuadtree(const RMDMesh& track) {
  logLine("Main: Building quadtree");
  std::vector<const int32_t*> indices;
  for (const std::vector<int32_t>& list : track.triangleIndices) indices.push_back(list.data());
  return buildQuadtree(track.positions.data(), track.vertexCount, track.materialCount, track.triangleCounts.data(),
                       indices.data());
}
