// Writes the seed corpus of fuzz_rmd into the folder given as the argument:
// small meshes covering three- and four-entry directories, empty and
// multi-material files.
#include "render/rmd_mesh.h"
#include "tools/rmd_writer/rmd_writer.h"

#include <cstdio>
#include <string>

namespace {

RMDMesh quad(int extraSets, int materials) {
  RMDMesh mesh;
  mesh.vertexCount = 4;
  const float corners[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};
  for (const auto& c : corners) {
    mesh.positions.insert(mesh.positions.end(), {c[0] * 10.0f, 1200.0f * c[1], c[1] * 10.0f});
    mesh.normals.insert(mesh.normals.end(), {0.0f, 1.0f, 0.0f});
    mesh.colors.insert(mesh.colors.end(), {1.0f, c[0], c[1]});
    mesh.texCoords[0].insert(mesh.texCoords[0].end(), {c[0], c[1]});
  }
  mesh.texCoordSetCount = 1 + extraSets;
  for (int set = 1; set <= extraSets; ++set) mesh.texCoords[set] = mesh.texCoords[0];
  mesh.materialCount = materials;
  for (int i = 0; i < materials; ++i) {
    mesh.materialNames.push_back(i == 0 ? "road" : "grass" + std::to_string(i));
    mesh.triangleCounts.push_back(i == 0 ? 2 : 0);
    mesh.triangleIndices.push_back(i == 0 ? std::vector<int32_t>{0, 1, 2, 2, 1, 3} : std::vector<int32_t>{});
  }
  return mesh;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  const RMDMesh seeds[] = {RMDMesh(), quad(0, 0), quad(0, 1), quad(2, 1), quad(1, 3), quad(7, 2)};
  int number = 0;
  for (const RMDMesh& mesh : seeds) {
    std::string path = std::string(argv[1]) + "/seed" + std::to_string(number++) + ".rmd";
    if (!saveRmd(path.c_str(), mesh)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
