#pragma once

// Data folders for the headless runner's tests, built in code: a flat square
// and an oval circuit with gravel run-off and its centre line.

#include "render/rmd_mesh.h"
#include "tools/rmd_writer/rmd_writer.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace simtracks {

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void writeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// A fresh folder with data/models inside; removed by removeDataFolder.
inline std::string makeDataFolder() {
  char pattern[] = "/tmp/stravo-sim-test-XXXXXX";
  if (mkdtemp(pattern) == nullptr) return "";
  std::string dir = pattern;
  mkdir((dir + "/data").c_str(), 0755);
  mkdir((dir + "/data/models").c_str(), 0755);
  return dir;
}

inline void removeDataFolder(const std::string& dir) {
  if (!dir.empty()) std::system(("rm -rf '" + dir + "'").c_str());
}

// The prop file: a start position and heading, no trees.
inline std::string propFile(double x, double y, double z, float heading) {
  std::string b;
  double start[3] = {x, y, z};
  int32_t count = 0;
  b.append(reinterpret_cast<const char*>(start), sizeof(start));
  b.append(reinterpret_cast<const char*>(&heading), 4);
  b.append(reinterpret_cast<const char*>(&count), 4);
  return b;
}

// Mesh under construction: vertices with up normals, one triangle list per material.
struct MeshBuild {
  RMDMesh m;
  explicit MeshBuild(std::vector<std::string> materials) {
    m.materialCount = int(materials.size());
    m.materialNames = materials;
    m.texCoordSetCount = 1;
    m.triangleIndices.resize(materials.size());
    m.triangleCounts.resize(materials.size(), 0);
  }
  int vertex(double x, double y, double z) {
    m.positions.insert(m.positions.end(), {float(x), float(y), float(z)});
    m.normals.insert(m.normals.end(), {0.0f, 1.0f, 0.0f});
    m.colors.insert(m.colors.end(), {1.0f, 1.0f, 1.0f});
    m.texCoords[0].insert(m.texCoords[0].end(), {0.0f, 0.0f});
    return m.vertexCount++;
  }
  // Two triangles a-b-c, b-d-c, facing up when a->b runs to the right of a->c.
  void quad(int material, int a, int b, int c, int d) {
    m.triangleIndices[material].insert(m.triangleIndices[material].end(), {a, c, b, b, c, d});
    m.triangleCounts[material] += 2;
  }
};

// A flat square of asphalt, 400 m across, in 20 m cells, at height 0.
inline RMDMesh flatTrack() {
  constexpr int kCells = 20;
  constexpr double kCell = 20.0, kHalf = kCells * kCell / 2;
  MeshBuild b({"asphalt"});
  for (int j = 0; j <= kCells; ++j)
    for (int i = 0; i <= kCells; ++i) b.vertex(i * kCell - kHalf, 0.0, j * kCell - kHalf);
  for (int j = 0; j < kCells; ++j)
    for (int i = 0; i < kCells; ++i) {
      int a = j * (kCells + 1) + i;
      b.quad(0, a, a + 1, a + kCells + 1, a + kCells + 2);
    }
  return b.m;
}

// The oval: straights of 320 m along z at x = +-45, half circles of 45 m radius,
// driven anticlockwise seen from above (heading 0 = toward -z on the right-hand
// straight), starting at (45, 0, 135) so that the far end lies more than 300 m
// from the start line. Asphalt 12 m wide, gravel 24 m either side.
struct Oval {
  static constexpr double kRadius = 45.0;
  static constexpr double kHalfStraight = 160.0;
  static constexpr double kStartZ = 135.0;
  static constexpr double kRoadHalf = 6.0;
  static constexpr double kGravelOuter = 30.0;

  // Point and unit driving direction at arc length s from the start.
  static void at(double s, double& x, double& z, double& tx, double& tz) {
    const double pi = 3.14159265358979323846;
    const double arc = pi * kRadius, straight = 2 * kHalfStraight;
    double len = 2 * straight + 2 * arc;
    s = std::fmod(s + kHalfStraight - kStartZ, len);  // measured from the straight's start
    if (s < straight) {
      x = kRadius, z = kHalfStraight - s, tx = 0, tz = -1;
    } else if (s < straight + arc) {
      double a = (s - straight) / kRadius;
      x = kRadius * std::cos(a), z = -kHalfStraight - kRadius * std::sin(a);
      tx = -std::sin(a), tz = -std::cos(a);
    } else if (s < 2 * straight + arc) {
      x = -kRadius, z = -kHalfStraight + (s - straight - arc), tx = 0, tz = 1;
    } else {
      double a = (s - 2 * straight - arc) / kRadius;
      x = -kRadius * std::cos(a), z = kHalfStraight + kRadius * std::sin(a);
      tx = std::sin(a), tz = std::cos(a);
    }
  }
  static double length() { return 4 * kHalfStraight + 2 * 3.14159265358979323846 * kRadius; }
};

// Writes the oval's track1.rmd, trees.prp and track.line into `dir`.
inline bool writeOval(const std::string& dir) {
  MeshBuild b({"asphalt", "gravel"});
  const double offsets[4] = {-Oval::kGravelOuter, -Oval::kRoadHalf, Oval::kRoadHalf, Oval::kGravelOuter};
  int samples = int(Oval::length() / 2.0);
  double step = Oval::length() / samples;
  std::string line;
  for (int i = 0; i <= samples; ++i) {
    double x, z, tx, tz;
    Oval::at(i * step, x, z, tx, tz);
    // Right of the driving direction is (-tz, tx).
    for (double o : offsets) b.vertex(x - tz * o, 0.0, z + tx * o);
    if (i < samples) {
      char text[96];
      std::snprintf(text, sizeof(text), "%.4f 0.0 %.4f\n", x, z);
      line += text;
    }
  }
  for (int i = 0; i < samples; ++i) {
    int a = i * 4, n = a + 4;
    b.quad(1, n, n + 1, a, a + 1);
    b.quad(0, n + 1, n + 2, a + 1, a + 2);
    b.quad(1, n + 2, n + 3, a + 2, a + 3);
  }
  writeFile(dir + "/data/trees.prp", propFile(Oval::kRadius, 0.0, Oval::kStartZ, 0.0f));
  writeFile(dir + "/data/track.line", line);
  return saveRmd((dir + "/data/models/track1.rmd").c_str(), b.m);
}

// Runs stravo-sim inside `dir` on `dir`; stdout to out.txt, stderr to err.txt.
inline int runSim(const std::string& dir, const std::string& args) {
  std::string cmd = "cd '" + dir + "' && " STRAVO_SIM_PATH " --dir '" + dir + "' " + args +
                    " >out.txt 2>err.txt";
  int status = std::system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace simtracks
