// libFuzzer target: any byte string given to the RMD parser either fails with a
// reason and an empty mesh, or gives a mesh that keeps every promise of a loaded
// one, survives the corrections and the collision build, and writes back exactly.
#include "physics/quadtree.h"
#include "render/rmd_mesh.h"
#include "tools/rmd_writer/rmd_writer.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void require(bool ok) {
  if (!ok) std::abort();
}

template <typename T>
bool sameBytes(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

void checkLoaded(const RMDMesh& mesh) {
  size_t n = size_t(mesh.vertexCount);
  require(mesh.vertexCount >= 0 && mesh.positions.size() == 3 * n && mesh.normals.size() == 3 * n &&
          mesh.colors.size() == 3 * n);
  require(mesh.texCoordSetCount >= 1 && mesh.texCoordSetCount <= RMDMesh::kMaxTexCoordSets);
  for (int set = 0; set < RMDMesh::kMaxTexCoordSets; ++set) {
    require(mesh.texCoords[set].size() == (set < mesh.texCoordSetCount ? 2 * n : 0));
  }
  size_t m = size_t(mesh.materialCount);
  require(mesh.materialNames.size() == m && mesh.triangleCounts.size() == m && mesh.triangleIndices.size() == m);
  for (size_t i = 0; i < m; ++i) {
    require(mesh.materialNames[i].size() <= 255);
    require(mesh.triangleIndices[i].size() == 3 * size_t(mesh.triangleCounts[i]));
    for (int32_t index : mesh.triangleIndices[i]) require(index >= 0 && index < mesh.vertexCount);
  }
}

void checkRoundTrip(const RMDMesh& mesh) {
  RMDMesh again;
  std::string why;
  std::vector<uint8_t> bytes = writeRmd(mesh);
  require(parseRmd(bytes.data(), bytes.size(), again, why));
  require(again.vertexCount == mesh.vertexCount && again.materialCount == mesh.materialCount);
  require(again.texCoordSetCount == mesh.texCoordSetCount && again.materialNames == mesh.materialNames);
  require(again.triangleCounts == mesh.triangleCounts && again.triangleIndices == mesh.triangleIndices);
  require(sameBytes(again.positions, mesh.positions) && sameBytes(again.normals, mesh.normals) &&
          sameBytes(again.colors, mesh.colors));
  for (int set = 0; set < RMDMesh::kMaxTexCoordSets; ++set) require(sameBytes(again.texCoords[set], mesh.texCoords[set]));
}

void checkCollisionBuild(const RMDMesh& mesh) {
  std::vector<const int32_t*> lists;
  for (const std::vector<int32_t>& l : mesh.triangleIndices) lists.push_back(l.data());
  CollisionQuadtree* tree = buildQuadtree(mesh.positions.data(), mesh.vertexCount, mesh.materialCount,
                                          mesh.triangleCounts.data(), lists.data());
  require(tree != nullptr);
  if (mesh.vertexCount > 0) {
    const float* p = mesh.positions.data();
    queryQuadtree(*tree, Vec3(p[0], p[1], p[2]), 3.0f);
    require(tree->resultCount <= tree->triangleCount);
  }
  destroyQuadtree(tree);
}

const char* const kCorrectedPaths[] = {"data\\models\\floor.rmd",  "data\\models\\evo.rmd",
                                       "data\\models\\hwheel.rmd", "data\\models\\sphere.rmd",
                                       "data\\models\\tree1.rmd",  "data\\models\\skydome.rmd"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RMDMesh mesh;
  std::string why;
  if (!parseRmd(data, size, mesh, why)) {
    require(!why.empty() && mesh.vertexCount == 0 && mesh.materialCount == 0 && mesh.positions.empty());
    return 0;
  }
  checkLoaded(mesh);
  checkRoundTrip(mesh);
  checkCollisionBuild(mesh);
  for (const char* path : kCorrectedPaths) {
    RMDMesh corrected = mesh;
    applyRmdCorrections(path, corrected);
    checkLoaded(corrected);
  }
  return 0;
}
