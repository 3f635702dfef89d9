#include "tools/datagen/track_model.h"

#include "tools/datagen/grandstand.h"
#include "tools/datagen/noise.h"
#include "tools/datagen/terrain_mesh.h"

#include <cmath>

namespace {

constexpr double kKerbCurvature = 1.0 / 230.0;    // 1/m: tighter corners get kerbs
constexpr double kGravelCurvature = 1.0 / 160.0;  // 1/m: tighter corners get gravel outside
constexpr int kCornerReach = 12;                  // samples a corner's kerbs and traps extend
constexpr double kGridStep = 5.0;                 // metres between terrain grid lines
constexpr double kStartLineHalfLength = 0.6;      // metres along the road
constexpr double kStartLineLift = 0.012;          // metres above the asphalt

// Texture layout of the road picture: the asphalt strip across u 0..0.5, the
// kerb blocks across 0.5..0.75 and the start-line chequers across 0.75..1.
constexpr double kRoadU0 = 0.008, kRoadU1 = 0.492;
constexpr double kKerbU0 = 0.51, kKerbU1 = 0.74;
constexpr double kLineU0 = 0.76, kLineU1 = 0.99;
constexpr double kRoadVPerMetre = 1.0 / 12.0;
constexpr double kKerbVPerMetre = 1.0 / 8.0;
constexpr double kGroundUVPerMetre = 1.0 / 7.0;
constexpr double kDetailUVPerMetre = 1.0 / 1.7;

double maxCurvatureNear(const TrackLayout& layout, int sample, int sign) {
  const int n = int(layout.curvature.size());
  double best = 0.0;
  for (int k = -kCornerReach; k <= kCornerReach; ++k) {
    double c = layout.curvature[size_t((sample + k + n) % n)] * sign;
    best = std::max(best, c);
  }
  return best;
}

// Soft variation of the ground's colour so wide grass does not look printed.
Vec3 groundTint(double x, double z) {
  double n = tiledFractalNoise(x / 640.0 + 0.5, z / 640.0 + 0.5, 24, 3, 77u);
  double t = 0.8 + 0.25 * n;
  return Vec3(t, t, t * 0.97);
}

struct Builder {
  MeshBuilder& mesh;
  int asphalt, grass, gravel;

  int vertex(const Vec3& p, const Vec3& normal, const Vec3& color, double u, double v) {
    return mesh.addVertex(MeshVertex{p, normal, color, u, v, p.x * kDetailUVPerMetre,
                                     p.z * kDetailUVPerMetre});
  }
  int groundVertex(const Vec3& p, const Vec3& normal) {
    return vertex(p, normal, groundTint(p.x, p.z), p.x * kGroundUVPerMetre, p.z * kGroundUVPerMetre);
  }
  // A quad whose front faces up, whatever order its corners came in.
  void upQuad(int material, int a, int b, int c, int d) {
    const Vec3& pa = mesh.vertices[size_t(a)].position;
    const Vec3& pb = mesh.vertices[size_t(b)].position;
    const Vec3& pc = mesh.vertices[size_t(c)].position;
    if (cross(pb - pa, pc - pa).y >= 0.0)
      mesh.addQuad(material, a, b, c, d);
    else
      mesh.addQuad(material, a, d, c, b);
  }
};

Vec3 ribbonPoint(const TrackLayout& layout, int i, double offset) {
  const Vec3& c = layout.centre[size_t(i)];
  Vec3 r = rightOf(layout.tangent[size_t(i)]);
  return Vec3(c.x + r.x * offset, ribbonHeight(c.y, offset), c.z + r.z * offset);
}

void addRoad(Builder& b, const TrackLayout& layout) {
  const int n = int(layout.centre.size());
  const Vec3 up(0.0, 1.0, 0.0), white(1.0, 1.0, 1.0);
  const double offsets[3] = {-kRoadHalfWidth, 0.0, kRoadHalfWidth};
  // One more row than samples: the last row repeats the first with v running on.
  std::vector<int> rows;
  for (int i = 0; i <= n; ++i) {
    double v = i * layout.spacing * kRoadVPerMetre;
    for (double o : offsets) {
      double u = kRoadU0 + (kRoadU1 - kRoadU0) * (o + kRoadHalfWidth) / (2.0 * kRoadHalfWidth);
      rows.push_back(b.vertex(ribbonPoint(layout, i % n, o), up, white, u, v));
    }
  }
  for (int i = 0; i < n; ++i)
    for (int k = 0; k < 2; ++k)
      b.upQuad(b.asphalt, rows[size_t(i * 3 + k)], rows[size_t(i * 3 + k + 1)],
               rows[size_t((i + 1) * 3 + k + 1)], rows[size_t((i + 1) * 3 + k)]);
}

// One strip beside the road between two offsets on one side, segment by
// segment, because its material changes from corner to straight.
void addSideStrip(Builder& b, const TrackLayout& layout, int side, double inner, double outer,
                  bool kerbStrip) {
  const int n = int(layout.centre.size());
  const Vec3 up(0.0, 1.0, 0.0), white(1.0, 1.0, 1.0);
  for (int i = 0; i < n; ++i) {
    int j = (i + 1) % n;
    Vec3 p[4] = {ribbonPoint(layout, i, inner * side), ribbonPoint(layout, i, outer * side),
                 ribbonPoint(layout, j, outer * side), ribbonPoint(layout, j, inner * side)};
    int idx[4];
    int material;
    if (kerbStrip && hasKerbs(layout, i)) {
      material = b.asphalt;
      double v0 = i * layout.spacing * kKerbVPerMetre, v1 = (i + 1) * layout.spacing * kKerbVPerMetre;
      idx[0] = b.vertex(p[0], up, white, kKerbU0, v0);
      idx[1] = b.vertex(p[1], up, white, kKerbU1, v0);
      idx[2] = b.vertex(p[2], up, white, kKerbU1, v1);
      idx[3] = b.vertex(p[3], up, white, kKerbU0, v1);
    } else {
      material = !kerbStrip && hasGravel(layout, i, side) ? b.gravel : b.grass;
      for (int k = 0; k < 4; ++k) idx[k] = b.groundVertex(p[k], up);
    }
    b.upQuad(material, idx[0], idx[1], idx[2], idx[3]);
  }
}

void addStartLine(Builder& b, const TrackLayout& layout) {
  const Vec3& c = layout.centre[0];
  const Vec3& t = layout.tangent[0];
  Vec3 r = rightOf(t);
  const Vec3 up(0.0, 1.0, 0.0), white(1.0, 1.0, 1.0);
  auto corner = [&](double along, double across, double u, double v) {
    Vec3 p(c.x + t.x * along + r.x * across, c.y + kStartLineLift, c.z + t.z * along + r.z * across);
    return b.vertex(p, up, white, u, v);
  };
  int a = corner(-kStartLineHalfLength, -kRoadHalfWidth, kLineU0, 0.0);
  int bb = corner(-kStartLineHalfLength, kRoadHalfWidth, kLineU1, 0.0);
  int cc = corner(kStartLineHalfLength, kRoadHalfWidth, kLineU1, 1.0);
  int d = corner(kStartLineHalfLength, -kRoadHalfWidth, kLineU0, 1.0);
  b.upQuad(b.asphalt, a, bb, cc, d);
}

void addTerrain(Builder& b, const TrackLayout& layout) {
  TerrainGrid grid;
  grid.cells = int(2.0 * kTerrainExtent / kGridStep);
  const int side = grid.cells + 1;
  std::vector<double>& height = grid.height;
  height.resize(size_t(side) * size_t(side));
  grid.roadDistance.resize(height.size());
  for (int gz = 0; gz < side; ++gz) {
    for (int gx = 0; gx < side; ++gx) {
      double x = -kTerrainExtent + gx * kGridStep, z = -kTerrainExtent + gz * kGridStep;
      height[size_t(gz * side + gx)] = groundHeight(layout, x, z);
      grid.roadDistance[size_t(gz * side + gx)] = nearestCentre(layout, x, z).distance;
    }
  }
  auto h = [&](int gx, int gz) {
    gx = std::min(side - 1, std::max(0, gx));
    gz = std::min(side - 1, std::max(0, gz));
    return height[size_t(gz * side + gx)];
  };
  auto vertex = [&](int gx, int gz) {
    Vec3 p(-kTerrainExtent + gx * kGridStep, h(gx, gz), -kTerrainExtent + gz * kGridStep);
    Vec3 normal(h(gx - 1, gz) - h(gx + 1, gz), 2.0 * kGridStep, h(gx, gz - 1) - h(gx, gz + 1));
    normalizeGuarded(normal);
    return b.groundVertex(p, normal);
  };
  // Triangles lying wholly under the ribbon are left out: they could never be
  // seen, yet a rasteriser would still shade them.
  addTerrainMesh(grid, kRunoffOuter - 1.0, b.mesh, b.grass, vertex);
}

}  // namespace

bool hasKerbs(const TrackLayout& layout, int sample) {
  return std::max(maxCurvatureNear(layout, sample, 1), maxCurvatureNear(layout, sample, -1)) >
         kKerbCurvature;
}

bool hasGravel(const TrackLayout& layout, int sample, int side) {
  // The outside of a left-hand corner (positive curvature) is its right side.
  return maxCurvatureNear(layout, sample, side) > kGravelCurvature;
}

MeshBuilder buildTrackModel(const TrackLayout& layout) {
  MeshBuilder mesh;
  mesh.secondTexCoordSet = true;
  Builder b{mesh, mesh.material("track_asphalt"), mesh.material("track_grass"),
            mesh.material("track_gravel")};
  addRoad(b, layout);
  for (int side : {-1, 1}) {
    addSideStrip(b, layout, side, kRoadHalfWidth, kKerbOuter, true);
    addSideStrip(b, layout, side, kKerbOuter, kRunoffOuter, false);
  }
  addStartLine(b, layout);
  addTerrain(b, layout);
  addGrandstand(mesh, mesh.material("track_stand"), placeGrandstand(layout));
  return mesh;
}
