#pragma once

// Data folders for the headless runner's tests, built in code: an oval circuit
// with gravel run-off, its prop file and its centre line.

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

// The oval, flat at height 0: straights of 300 m along z at x = +-60 joined by
// half circles of 60 m radius, driven anticlockwise seen from above (heading 0
// = toward -z on the straight at x = +60). It starts at (60, 0, 120), so its far
// end lies more than 300 m from the start line. Asphalt (material 0) 12 m wide,
// gravel (material 1) 24 m either side.
struct Oval {
  static constexpr double kRadius = 60.0;
  static constexpr double kHalfStraight = 150.0;
  static constexpr double kStartZ = 120.0;
  static constexpr double kPi = 3.14159265358979323846;

  static double length() { return 4 * kHalfStraight + 2 * kPi * kRadius; }

  // Point and unit driving direction at arc length s from the start.
  static void at(double s, double& x, double& z, double& tx, double& tz) {
    const double arc = kPi * kRadius, straight = 2 * kHalfStraight;
    s = std::fmod(s + kHalfStraight - kStartZ, length());  // from the straight's start
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
};

// Writes the oval's track1.rmd, trees.prp and track.line into `dir`.
inline bool writeOval(const std::string& dir) {
  RMDMesh m;
  m.materialCount = 2;
  m.materialNames = {"asphalt", "gravel"};
  m.texCoordSetCount = 1;
  m.triangleIndices.resize(2);
  m.triangleCounts = {0, 0};
  const double offsets[4] = {-30.0, -6.0, 6.0, 30.0};  // across the road, right positive
  int samples = int(Oval::length() / 2.0);
  std::string line;
  for (int i = 0; i <= samples; ++i) {
    double x, z, tx, tz;
    Oval::at(i * Oval::length() / samples, x, z, tx, tz);
    for (double o : offsets) {
      // Right of the driving direction is (-tz, tx).
      m.positions.insert(m.positions.end(), {float(x - tz * o), 0.0f, float(z + tx * o)});
      m.normals.insert(m.normals.end(), {0.0f, 1.0f, 0.0f});
      m.colors.insert(m.colors.end(), {1.0f, 1.0f, 1.0f});
      m.texCoords[0].insert(m.texCoords[0].end(), {0.0f, 0.0f});
      ++m.vertexCount;
    }
    if (i < samples) {
      char text[96];
      std::snprintf(text, sizeof(text), "%.4f 0.0 %.4f\n", x, z);
      line += text;
    }
  }
  // Each band between sample i and i + 1, wound to face up.
  for (int i = 0; i < samples; ++i)
    for (int band = 0; band < 3; ++band) {
      int a = i * 4 + band, b = a + 1, c = a + 4, d = c + 1;
      int material = band == 1 ? 0 : 1;
      m.triangleIndices[material].insert(m.triangleIndices[material].end(), {c, a, d, d, a, b});
      m.triangleCounts[material] += 2;
    }
  writeFile(dir + "/data/trees.prp", propFile(Oval::kRadius, 0.0, Oval::kStartZ, 0.0f));
  writeFile(dir + "/data/track.line", line);
  return saveRmd((dir + "/data/models/track1.rmd").c_str(), m);
}

// The lap times (s) of a stravo-sim summary, from its "lap N: M:SS.CC" lines.
inline std::vector<double> lapTimes(const std::string& summary) {
  std::vector<double> laps;
  std::istringstream lines(summary);
  std::string line;
  int n = 0, m = 0, sec = 0, centi = 0;
  while (std::getline(lines, line))
    if (std::sscanf(line.c_str(), "lap %d: %d:%d.%d", &n, &m, &sec, &centi) == 4)
      laps.push_back(m * 60 + sec + centi / 100.0);
  return laps;
}

// Runs stravo-sim inside `dir` on `dir`; stdout to out.txt, stderr to err.txt.
inline int runSim(const std::string& dir, const std::string& args) {
  std::string cmd = "cd '" + dir + "' && " STRAVO_SIM_PATH " --dir '" + dir + "' " + args +
                    " >out.txt 2>err.txt";
  int status = std::system(cmd.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace simtracks
