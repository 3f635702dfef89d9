#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A loaded model: a shared vertex pool and one triangle list per material. The
// arrays keep the file's tight layout so they go to GL vertex arrays unchanged.
struct RMDMesh {
  static constexpr int kMaxTexCoordSets = 8;

  int materialCount = 0;
  std::vector<std::string> materialNames;        // at most 255 bytes each
  std::vector<float> positions;                   // 3 per vertex
  std::vector<float> normals;                     // 3 per vertex
  std::vector<float> colors;                      // r, g, b per vertex
  std::vector<float> texCoords[kMaxTexCoordSets];  // u, v per vertex, one array per set
  int texCoordSetCount = 0;                       // 1..8 once loaded
  std::vector<std::vector<int32_t>> triangleIndices;  // 3 per triangle, per material
  std::vector<int> triangleCounts;                // per material
  int vertexCount = 0;

  // Logs the path, reads the file and applies the corrections chosen by the
  // exact path string. False when the file cannot be opened, is not a regular
  // file, is larger than kMaxRmdFileBytes or is malformed.
  bool Load(const char* path);

  // Index of the first material named exactly `name`, or -1.
  int FindMaterial(const char* name) const;
};

// The largest mesh file read: 64 MiB, over a million vertices, many times the
// largest model of a generated data set (the track, some 2.3 MB). A larger file
// is refused by its size before it is read.
constexpr size_t kMaxRmdFileBytes = size_t(64) << 20;

// Parses an RMD image; false with `why` set when it is malformed.
bool parseRmd(const uint8_t* data, size_t size, RMDMesh& out, std::string& why);

// The per-file corrections, selected by the exact path string.
void applyRmdCorrections(const char* path, RMDMesh& mesh);
