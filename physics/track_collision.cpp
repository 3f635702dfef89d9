#include "physics/track_collision.h"

#include "app/log.h"
#include "physics/world.h"

#include <cstdint>
#include <vector>

namespace {

bool loadOrReport(RMDMesh& mesh, const char* path) {
  if (mesh.Load(path)) return true;
  logLine("Error loading model");
  return false;
}

}  // namespace

CollisionQuadtree* buildTrackQuadtree(const RMDMesh& track) {
  logLine("Main: Building quadtree");
  std::vector<const int32_t*> indices;
  for (const std::vector<int32_t>& list : track.triangleIndices) indices.push_back(list.data());
  return buildQuadtree(track.positions.data(), track.vertexCount, track.materialCount, track.triangleCounts.data(),
                       indices.data());
}

bool loadStartupModels(StartupModels& models, PhWorld& world, CollisionQuadtree*& tree) {
  if (!loadOrReport(models.body, "data\\models\\evo.rmd")) return false;
  if (!loadOrReport(models.wheel, "data\\models\\hwheel.rmd")) return false;
  if (!loadOrReport(models.cone, "data\\models\\cone.rmd")) return false;
  if (!loadOrReport(models.tree, "data\\models\\tree1.rmd")) return false;
  if (!loadOrReport(models.track, "data\\models\\track1.rmd")) return false;
  tree = buildTrackQuadtree(models.track);
  // The loader has checked every index, so the build cannot refuse a loaded track;
  // should it, start-up stops the same way as for a model that does not load.
  if (tree == nullptr) {
    logLine("Error loading model");
    return false;
  }
  world.attachTree(tree);
  return loadOrReport(models.skyDome, "data\\models\\skydome.rmd");
}
