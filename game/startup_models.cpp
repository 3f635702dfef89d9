#include "game/startup_models.h"

#include "app/log.h"
#include "physics/world.h"

#include <cstdint>
#include <vector>

namespace {

bool loadOrReport(RMDMesh& mesh, const std::string& folder, const char* path, std::string& failedPath) {
  std::string full = folder + path;
  if (mesh.Load(full.c_str())) return true;
  logLine("Error loading model");
  failedPath = full;
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

bool loadTrackWithCollision(const std::string& folder, RMDMesh& track, PhWorld& world, CollisionQuadtree*& tree,
                            std::string& failedPath) {
  if (!loadOrReport(track, folder, "data\\models\\track1.rmd", failedPath)) return false;
  tree = buildTrackQuadtree(track);
  // The loader has checked every index, so the build cannot refuse a loaded track;
  // should it, the sequence stops the same way as for a model that does not load.
  if (tree == nullptr) {
    logLine("Error loading model");
    failedPath = folder + "data\\models\\track1.rmd";
    return false;
  }
  world.attachTree(tree);
  return true;
}

bool loadStartupModels(const std::string& folder, StartupModels& models, PhWorld& world, CollisionQuadtree*& tree,
                       std::string& failedPath) {
  if (!loadOrReport(models.body, folder, "data\\models\\evo.rmd", failedPath)) return false;
  if (!loadOrReport(models.wheel, folder, "data\\models\\hwheel.rmd", failedPath)) return false;
  if (!loadOrReport(models.cone, folder, "data\\models\\cone.rmd", failedPath)) return false;
  if (!loadOrReport(models.tree, folder, "data\\models\\tree1.rmd", failedPath)) return false;
  if (!loadTrackWithCollision(folder, models.track, world, tree, failedPath)) return false;
  return loadOrReport(models.skyDome, folder, "data\\models\\skydome.rmd", failedPath);
}
