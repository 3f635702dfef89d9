#include "tools/rmd_writer/rmd_writer.h"

#include "app/files.h"

#include <cstdio>
#include <cstring>

namespace {

// The header is not read back; it only marks the file.
const uint8_t kHeader[5] = {'R', 'M', 'D', '1', 0};

void putInt(std::vector<uint8_t>& out, int32_t v) {
  uint32_t u;
  std::memcpy(&u, &v, 4);
  for (int k = 0; k < 4; ++k) out.push_back(uint8_t(u >> (8 * k)));
}

void putFloat(std::vector<uint8_t>& out, float f) {
  int32_t v;
  std::memcpy(&v, &f, 4);
  putInt(out, v);
}

// Element i of an array, or 0 past its end: a mesh with short arrays still gives a
// well-formed file.
template <typename T>
T at(const std::vector<T>& a, size_t i) {
  return i < a.size() ? a[i] : T(0);
}

}  // namespace

std::vector<uint8_t> writeRmd(const RMDMesh& mesh) {
  std::vector<uint8_t> out(kHeader, kHeader + sizeof kHeader);
  size_t n = mesh.vertexCount > 0 ? size_t(mesh.vertexCount) : 0;
  size_t m = mesh.materialCount > 0 ? size_t(mesh.materialCount) : 0;
  int extraSets = mesh.texCoordSetCount > 1 ? mesh.texCoordSetCount - 1 : 0;
  if (extraSets > RMDMesh::kMaxTexCoordSets - 1) extraSets = RMDMesh::kMaxTexCoordSets - 1;

  int32_t vertexChunk = int32_t(out.size());
  putInt(out, int32_t(n));
  for (size_t v = 0; v < n; ++v) {
    for (size_t k = 0; k < 3; ++k) putFloat(out, at(mesh.positions, 3 * v + k));
    for (size_t k = 0; k < 3; ++k) putFloat(out, at(mesh.normals, 3 * v + k));
    for (size_t k = 0; k < 3; ++k) putFloat(out, at(mesh.colors, 3 * v + k));
    for (size_t k = 0; k < 2; ++k) putFloat(out, at(mesh.texCoords[0], 2 * v + k));
  }

  int32_t nameChunk = int32_t(out.size());
  putInt(out, int32_t(m));
  for (size_t i = 0; i < m; ++i) {
    std::string name = i < mesh.materialNames.size() ? mesh.materialNames[i] : std::string();
    out.insert(out.end(), name.begin(), name.end());
    out.push_back(0);
  }

  int32_t triangleChunk = int32_t(out.size());
  for (size_t i = 0; i < m; ++i) {
    int32_t k = at(mesh.triangleCounts, i);
    if (k < 0) k = 0;
    putInt(out, k);
    const std::vector<int32_t> none;
    const std::vector<int32_t>& indices = i < mesh.triangleIndices.size() ? mesh.triangleIndices[i] : none;
    for (size_t j = 0; j < size_t(k) * 3; ++j) putInt(out, at(indices, j));
  }

  int32_t extraChunk = int32_t(out.size());
  if (extraSets > 0) {
    putInt(out, extraSets);
    for (int set = 1; set <= extraSets; ++set) {
      for (size_t j = 0; j < 2 * n; ++j) putFloat(out, at(mesh.texCoords[set], j));
    }
  }

  int32_t directory = int32_t(out.size());
  putInt(out, 1);
  putInt(out, vertexChunk);
  putInt(out, 2);
  putInt(out, nameChunk);
  putInt(out, 3);
  putInt(out, triangleChunk);
  if (extraSets > 0) {
    putInt(out, 4);
    putInt(out, extraChunk);
  }
  putInt(out, directory);
  return out;
}

bool saveRmd(const char* path, const RMDMesh& mesh) {
  std::vector<uint8_t> bytes = writeRmd(mesh);
  FILE* f = openFile(path, "wb");
  if (f == nullptr) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}
