#include "render/geometry.h"

#include "app/log.h"
#include "render/rmd_mesh.h"

namespace {

const float* arrayOrNull(const std::vector<float>& values) { return values.empty() ? nullptr : values.data(); }

}  // namespace

Geometry::Geometry(const RMDMesh& mesh, const char* name) {
  int index = mesh.FindMaterial(name);
  if (index < 0) {
    logLine("Error: Material \"%s\" not found in RMDMesh - can't build Geometry object", name);
    return;
  }
  materialName = mesh.materialNames[index].c_str();
  positions = arrayOrNull(mesh.positions);
  normals = arrayOrNull(mesh.normals);
  colors = arrayOrNull(mesh.colors);
  vertexCount = mesh.vertexCount;
  texCoordSetCount = mesh.texCoordSetCount;
  for (int i = 0; i < texCoordSetCount && i < kMaxTexCoordSets; ++i) texCoords[i] = arrayOrNull(mesh.texCoords[i]);
  triangleIndices = mesh.triangleIndices[index].data();
  triangleCount = mesh.triangleCounts[index];
}

Geometry::Geometry(int vertexCount_, const float* positions_, const float* texCoords0, const float* normals_,
                   const float* forcedColors_, const float* colors_, int triangleCount_,
                   const int32_t* triangleIndices_, const char* materialName_)
    : materialName(materialName_),
      positions(positions_),
      normals(normals_),
      forcedColors(forcedColors_),
      colors(colors_),
      texCoordSetCount(texCoords0 != nullptr ? 1 : 0),
      triangleIndices(triangleIndices_),
      triangleCount(triangleCount_),
      vertexCount(vertexCount_) {
  texCoords[0] = texCoords0;
}

Geometry& Geometry::Empty() {
  static Geometry empty;
  return empty;
}
