#include "tools/datagen/scenery_models.h"

#include "tools/datagen/noise.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A quad facing `outward`, whatever order its corners came in.
void facingQuad(MeshBuilder& mesh, int material, const int idx[4], const Vec3& outward) {
  const Vec3& a = mesh.vertices[size_t(idx[0])].position;
  const Vec3& b = mesh.vertices[size_t(idx[1])].position;
  const Vec3& c = mesh.vertices[size_t(idx[2])].position;
  if (dot(cross(b - a, c - a), outward) >= 0.0)
    mesh.addQuad(material, idx[0], idx[1], idx[2], idx[3]);
  else
    mesh.addQuad(material, idx[0], idx[3], idx[2], idx[1]);
}

// A surface of revolution about y through (radius, y, v) rings, facing out.
void lathe(MeshBuilder& mesh, int material, const double (*ring)[3], int rings, int segments,
           const Vec3& centre, double uRepeat) {
  const Vec3 white(1.0, 1.0, 1.0);
  for (int k = 0; k + 1 < rings; ++k) {
    double dr = ring[k + 1][0] - ring[k][0], dy = ring[k + 1][1] - ring[k][1];
    for (int s = 0; s < segments; ++s) {
      double a0 = 2.0 * kPi * s / segments, a1 = 2.0 * kPi * (s + 1) / segments;
      auto point = [&](int r, double a) {
        return centre + Vec3(ring[r][0] * std::cos(a), ring[r][1], ring[r][0] * std::sin(a));
      };
      auto normal = [&](double a) {
        Vec3 n(dy * std::cos(a), -dr, dy * std::sin(a));
        normalizeGuarded(n);
        return n;
      };
      double u0 = uRepeat * s / segments, u1 = uRepeat * (s + 1) / segments;
      int idx[4] = {mesh.addVertex(point(k, a0), normal(a0), white, u0, ring[k][2]),
                    mesh.addVertex(point(k + 1, a0), normal(a0), white, u0, ring[k + 1][2]),
                    mesh.addVertex(point(k + 1, a1), normal(a1), white, u1, ring[k + 1][2]),
                    mesh.addVertex(point(k, a1), normal(a1), white, u1, ring[k][2])};
      double am = 0.5 * (a0 + a1);
      facingQuad(mesh, material, idx, normal(am));
    }
  }
}

}  // namespace

MeshBuilder buildCone() {
  MeshBuilder mesh;
  int cone = mesh.material("cone");
  const double foot = -0.25;
  const Vec3 white(1.0, 1.0, 1.0);
  // The square foot: top, and four low sides. Its picture is the texture's bottom strip.
  const double h = 0.2, t = 0.03;
  Vec3 top[4] = {Vec3(-h, foot + t, -h), Vec3(h, foot + t, -h), Vec3(h, foot + t, h), Vec3(-h, foot + t, h)};
  int idx[4];
  for (int k = 0; k < 4; ++k) idx[k] = mesh.addVertex(top[k], Vec3(0.0, 1.0, 0.0), white, 0.05 + 0.1 * k, 0.03);
  facingQuad(mesh, cone, idx, Vec3(0.0, 1.0, 0.0));
  for (int k = 0; k < 4; ++k) {
    Vec3 a = top[k], b = top[(k + 1) % 4];
    Vec3 out = (a + b) * 0.5 - Vec3(0.0, foot + t, 0.0);
    out.y = 0.0;
    normalizeGuarded(out);
    int q[4] = {mesh.addVertex(a, out, white, 0.1, 0.03), mesh.addVertex(b, out, white, 0.3, 0.03),
                mesh.addVertex(b - Vec3(0.0, t, 0.0), out, white, 0.3, 0.0),
                mesh.addVertex(a - Vec3(0.0, t, 0.0), out, white, 0.1, 0.0)};
    facingQuad(mesh, cone, q, out);
  }
  // The cone itself: orange with a white reflective band, from the texture's upper part.
  const double ring[][3] = {{0.17, foot + t, 0.1}, {0.035, foot + 0.7, 1.0}, {0.0, foot + 0.72, 1.0}};
  lathe(mesh, cone, ring, 3, 16, Vec3(0.0, 0.0, 0.0), 1.0);
  return mesh;
}

MeshBuilder buildTree() {
  MeshBuilder mesh;
  int tree = mesh.material("tree");
  const Vec3 base(-5.5, 0.0, 0.0);  // the loader moves the tree 5.5 m along +x
  // The trunk ends just inside the crown's core.
  const double trunk[][3] = {{0.32, -0.3, treeV(kTreeBarkRows, 0.0)},
                             {0.24, 1.0, treeV(kTreeBarkRows, 0.3)},
                             {0.17, 4.1, treeV(kTreeBarkRows, 1.0)}};
  lathe(mesh, tree, trunk, 3, 8, base, 2.0);

  // The crown's opaque core: most of a crown's pixels are drawn once and hide
  // the leaf cards behind it.
  const double core[][3] = {{0.0, 4.0, treeV(kTreeCrownRows, 0.0)},
                            {2.3, 4.7, treeV(kTreeCrownRows, 0.3)},
                            {2.8, 6.0, treeV(kTreeCrownRows, 0.6)},
                            {1.9, 7.5, treeV(kTreeCrownRows, 0.9)},
                            {0.0, 8.2, treeV(kTreeCrownRows, 1.0)}};
  lathe(mesh, tree, core, 5, 7, base, 2.0);

  // Leaf cards standing out of the core break its outline, each drawn from both sides.
  Rng rng(77u);
  const Vec3 tint(1.0, 1.0, 1.0);
  const Vec3 middle = base + Vec3(0.0, 6.0, 0.0);
  for (int card = 0; card < 8; ++card) {
    double around = 2.0 * kPi * (card + rng.range(-0.3, 0.3)) / 8.0;
    double yaw = around + kPi * 0.5 + rng.range(-0.5, 0.5);
    double tilt = rng.range(-0.35, 0.35);
    double size = rng.range(1.5, 2.1);
    Vec3 centre = middle + Vec3(std::cos(around) * 2.2, rng.range(-1.3, 1.6), std::sin(around) * 2.2);
    Vec3 across(std::cos(yaw), 0.0, std::sin(yaw));
    Vec3 up(-std::sin(yaw) * std::sin(tilt), std::cos(tilt), std::cos(yaw) * std::sin(tilt));
    Vec3 n = cross(across, up);
    normalizeGuarded(n);
    Vec3 c[4] = {centre - across * size - up * size, centre + across * size - up * size,
                 centre + across * size + up * size, centre - across * size + up * size};
    const double uv[4][2] = {{0.0, treeV(kTreeCardRows, 0.0)},
                             {1.0, treeV(kTreeCardRows, 0.0)},
                             {1.0, treeV(kTreeCardRows, 1.0)},
                             {0.0, treeV(kTreeCardRows, 1.0)}};
    for (double side : {1.0, -1.0}) {
      int idx[4];
      for (int k = 0; k < 4; ++k) {
        // Normals lean outward from the crown's middle so the light falls on it as on a ball.
        Vec3 ball = c[k] - middle;
        normalizeGuarded(ball);
        Vec3 vn = n * (0.4 * side) + ball;
        normalizeGuarded(vn);
        idx[k] = mesh.addVertex(c[k], vn, tint, uv[k][0], uv[k][1]);
      }
      facingQuad(mesh, tree, idx, n * side);
    }
  }
  return mesh;
}

double skyTextureRadius(double elevationDegrees) {
  if (elevationDegrees >= 0.0) return 0.46 * (90.0 - elevationDegrees) / 90.0;
  return 0.46 + 0.035 * (-elevationDegrees / -kSkyLowestElevation);
}

MeshBuilder buildSkyDome() {
  MeshBuilder mesh;
  int sky = mesh.material("sky");
  const int segments = 36;
  const double elevations[] = {-20, -6, -2, 0, 2, 5, 9, 14, 20, 28, 38, 50, 64, 78, 90};
  const int rings = int(sizeof(elevations) / sizeof(elevations[0]));
  const Vec3 white(1.0, 1.0, 1.0);
  std::vector<int> index;
  for (int r = 0; r < rings; ++r) {
    double e = elevations[r] * kPi / 180.0;
    double tr = skyTextureRadius(elevations[r]);
    for (int s = 0; s <= segments; ++s) {
      double a = 2.0 * kPi * s / segments;
      Vec3 dir(std::cos(e) * std::cos(a), std::sin(e), std::cos(e) * std::sin(a));
      index.push_back(mesh.addVertex(dir * kSkyRadius, -dir, white, 0.5 + tr * std::cos(a),
                                     0.5 + tr * std::sin(a)));
    }
  }
  for (int r = 0; r + 1 < rings; ++r) {
    for (int s = 0; s < segments; ++s) {
      int a = index[size_t(r * (segments + 1) + s)], b = index[size_t(r * (segments + 1) + s + 1)];
      int c = index[size_t((r + 1) * (segments + 1) + s + 1)], d = index[size_t((r + 1) * (segments + 1) + s)];
      int q[4] = {a, b, c, d};
      // Seen from inside: the faces point toward the centre.
      Vec3 mid = (mesh.vertices[size_t(a)].position + mesh.vertices[size_t(c)].position) * 0.5;
      facingQuad(mesh, sky, q, -mid);
    }
  }
  return mesh;
}
