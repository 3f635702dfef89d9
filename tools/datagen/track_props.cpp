#include "tools/datagen/track_props.h"

#include "tools/datagen/data_set.h"
#include "tools/datagen/grandstand.h"
#include "tools/datagen/noise.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int kTreeTarget = 240;
constexpr int kTreeAttempts = 40000;
constexpr double kTreeArea = 284.0;       // trees stay inside +-this in x and z
constexpr double kTreeSpacing = 7.0;      // metres between trunks
constexpr double kOrbitClearance = 14.0;  // metres either side of the orbit circle
constexpr double kCameraClearance = 12.0;  // metres around the trackside camera
constexpr double kTreeSink = 0.15;        // metres the trunk base goes into the ground
constexpr double kSightClearance = 1.2;   // metres a trunk keeps from a sight line
constexpr double kStandClearance = 6.0;   // metres around the grandstand

// True when a trunk at (x, z) stands in a sight line from the camera to the road.
bool blocksSight(const std::vector<Vec3>& road, const Vec3& camera, double x, double z) {
  if (std::hypot(x - camera.x, z - camera.z) > kSightReach + kSightClearance) return false;
  for (const Vec3& p : road) {
    double dx = p.x - camera.x, dz = p.z - camera.z;
    double t = std::min(1.0, std::max(0.0, ((x - camera.x) * dx + (z - camera.z) * dz) / (dx * dx + dz * dz)));
    if (std::hypot(camera.x + dx * t - x, camera.z + dz * t - z) < kSightClearance) return true;
  }
  return false;
}

}  // namespace

std::vector<TreePlacement> placeTrees(const TrackLayout& layout) {
  std::vector<TreePlacement> trees;
  Rng rng(layout.scenerySeed);
  // The default circuit's groves keep their noise; every seed gets its own.
  const uint32_t groveSeed = 913u ^ (layout.scenerySeed ^ kDefaultScenerySeed);
  const Vec3 camera = layout.startPosition + kTracksideCameraOffset;
  const std::vector<Vec3> road = roadInSight(layout);
  const Grandstand stand = placeGrandstand(layout);
  for (int attempt = 0; attempt < kTreeAttempts && int(trees.size()) < kTreeTarget; ++attempt) {
    double x = rng.range(-kTreeArea, kTreeArea);
    double z = rng.range(-kTreeArea, kTreeArea);
    float heading = float(rng.range(0.0, 360.0));
    double grove = rng.uniform();
    // Groves: dense where the low-frequency noise is high, sparse elsewhere.
    double density = tiledFractalNoise(x / 700.0 + 0.5, z / 700.0 + 0.5, 6, 2, groveSeed);
    if (grove > smoothstep01((density - 0.42) * 5.0)) continue;
    double radius = std::hypot(x, z);
    if (std::fabs(radius - kOrbitRadius) < kOrbitClearance) continue;
    if (std::hypot(x - camera.x, z - camera.z) < kCameraClearance) continue;
    if (nearestCentre(layout, x, z).distance < kTreeClearance) continue;
    bool crowded = false;
    for (const TreePlacement& t : trees)
      if (std::hypot(t.position.x - x, t.position.z - z) < kTreeSpacing) {
        crowded = true;
        break;
      }
    if (crowded) continue;
    if (nearGrandstand(stand, x, z, kStandClearance) || blocksSight(road, camera, x, z)) continue;
    trees.push_back({Vec3(x, groundHeight(layout, x, z) - kTreeSink, z), heading});
  }
  return trees;
}

std::vector<uint8_t> encodePropFile(const TrackLayout& layout, const std::vector<TreePlacement>& trees) {
  std::vector<uint8_t> out;
  putFloat64(out, layout.startPosition.x);
  putFloat64(out, layout.startPosition.y);
  putFloat64(out, layout.startPosition.z);
  putFloat32(out, layout.startHeading);
  putInt32(out, int32_t(trees.size()));
  for (const TreePlacement& t : trees) {
    putFloat64(out, t.position.x);
    putFloat64(out, t.position.y);
    putFloat64(out, t.position.z);
    putFloat32(out, t.heading);
  }
  return out;
}

std::string trackLineText(const TrackLayout& layout) {
  std::string text;
  char line[96];
  for (const Vec3& c : layout.centre) {
    std::snprintf(line, sizeof(line), "%.3f %.3f %.3f\n", c.x, c.y, c.z);
    text += line;
  }
  return text;
}
