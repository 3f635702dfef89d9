#include "tools/datagen/car_model.h"

#include "tools/datagen/smooth_shell.h"

#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kWheelScale = 0.9;  // the loader's shrink
constexpr int kSegments = 24;        // round the wheel
constexpr int kSpokes = 5;
constexpr double kHalfWidth = 0.1025;
constexpr double kRimRadius = kTyreRadius - 0.085;  // where the tyre meets the rim
constexpr double kRimInner = kRimRadius - 0.016;    // inside of the rim's barrel

// The file holds the wheel before the loader's 0.9 scale, and texture
// coordinates that its (u, v) -> (-v, -u) turn brings back to (u, v).
int fileVertex(MeshBuilder& mesh, const Vec3& p, const Vec3& n, double u, double v) {
  Vec3 nn = n;
  normalizeGuarded(nn);
  return mesh.addVertex(p * (1.0 / kWheelScale), nn, Vec3(1.0, 1.0, 1.0), -v, -u);
}

Vec3 around(double x, double radius, double angle) {
  return Vec3(x, radius * std::cos(angle), radius * std::sin(angle));
}

// The tyre as a surface of revolution of its cross-section, normals from the
// section's own slope so the shoulders come out round; the tread picture
// repeats eight times round.
void addTyre(MeshBuilder& mesh, int material) {
  struct ProfilePoint {
    double x, radius, v;
  };
  const double r = kTyreRadius, w = kHalfWidth;
  const ProfilePoint profile[] = {
      {-w + 0.014, kRimRadius - 0.004, 0.0}, {-w + 0.002, kRimRadius + 0.02, 0.08}, {-w, r - 0.05, 0.18},
      {-w + 0.004, r - 0.022, 0.25},        {-w + 0.016, r - 0.006, 0.3},         {-w + 0.034, r, 0.34},
      {w - 0.034, r, 0.66},                 {w - 0.016, r - 0.006, 0.7},          {w - 0.004, r - 0.022, 0.75},
      {w, r - 0.05, 0.82},                  {w - 0.002, kRimRadius + 0.02, 0.92}, {w - 0.014, kRimRadius - 0.004, 1.0}};
  const int rings = int(sizeof(profile) / sizeof(profile[0]));
  std::vector<int> ids(size_t(rings * (kSegments + 1)));
  for (int k = 0; k < rings; ++k) {
    const ProfilePoint& prev = profile[k > 0 ? k - 1 : k];
    const ProfilePoint& next = profile[k + 1 < rings ? k + 1 : k];
    // Outward normal of the section in (x, radius): the slope turned a quarter.
    double dx = next.x - prev.x, dr = next.radius - prev.radius;
    double nx = -dr, nr = dx;
    for (int s = 0; s <= kSegments; ++s) {
      double a = 2.0 * kPi * s / kSegments;
      Vec3 n(nx, nr * std::cos(a), nr * std::sin(a));
      ids[size_t(k * (kSegments + 1) + s)] =
          fileVertex(mesh, around(profile[k].x, profile[k].radius, a), n, 8.0 * s / kSegments, profile[k].v);
    }
  }
  for (int k = 0; k + 1 < rings; ++k) {
    for (int s = 0; s < kSegments; ++s) {
      int a = ids[size_t(k * (kSegments + 1) + s)], b = ids[size_t((k + 1) * (kSegments + 1) + s)];
      int c = ids[size_t((k + 1) * (kSegments + 1) + s + 1)], d = ids[size_t(k * (kSegments + 1) + s + 1)];
      mesh.addQuad(material, a, d, c, b);
    }
  }
}

// Adds the quad a-b-c-d facing away from `inside`.
void outwardQuad(SmoothShell& shell, int material, const Vec3 p[4], const Vec3& inside) {
  int id[4];
  for (int k = 0; k < 4; ++k) id[k] = shell.point(p[k]);
  Vec3 n = cross(p[1] - p[0], p[2] - p[0]) + cross(p[2] - p[0], p[3] - p[0]);
  Vec3 centre = (p[0] + p[1] + p[2] + p[3]) * 0.25;
  if (dot(n, centre - inside) >= 0.0)
    shell.quad(material, id[0], id[1], id[2], id[3]);
  else
    shell.quad(material, id[0], id[3], id[2], id[1]);
}

// One face of the rim (side -1 or 1): the lip round the tyre's bead, five
// spokes from the hub out to the lip, and the hub cap.
void addRimFace(SmoothShell& shell, int rim, double side) {
  const double lipX = side * (kHalfWidth - 0.012), hubX = side * (kHalfWidth - 0.03);
  for (int s = 0; s < kSegments; ++s) {
    double a0 = 2.0 * kPi * s / kSegments, a1 = 2.0 * kPi * (s + 1) / kSegments;
    Vec3 lip[4] = {around(lipX, kRimInner, a0), around(lipX, kRimRadius + 0.004, a0),
                   around(lipX, kRimRadius + 0.004, a1), around(lipX, kRimInner, a1)};
    outwardQuad(shell, rim, lip, Vec3(0.0, 0.0, 0.0));
  }
  // Spokes: slabs 20 mm thick, narrowing from the hub to the lip.
  for (int k = 0; k < kSpokes; ++k) {
    double a = 2.0 * kPi * k / kSpokes;
    Vec3 dir(0.0, std::cos(a), std::sin(a)), across(0.0, -std::sin(a), std::cos(a));
    double inR = 0.045, outR = kRimInner + 0.004;
    double inHalf = 0.026, outHalf = 0.017, thick = 0.02;
    Vec3 inner = Vec3(hubX, 0.0, 0.0) + dir * inR, outer = Vec3(lipX, 0.0, 0.0) + dir * outR;
    Vec3 depth(-side * thick, 0.0, 0.0);
    Vec3 c[8] = {inner - across * inHalf,         outer - across * outHalf,         outer + across * outHalf,
                 inner + across * inHalf,         inner - across * inHalf + depth, outer - across * outHalf + depth,
                 outer + across * outHalf + depth, inner + across * inHalf + depth};
    Vec3 middle = (inner + outer) * 0.5 + depth * 0.5;
    const int sides[5][4] = {{0, 1, 2, 3}, {4, 7, 6, 5}, {0, 4, 5, 1}, {3, 2, 6, 7}, {1, 5, 6, 2}};
    for (const int* q : sides) {
      Vec3 p[4] = {c[q[0]], c[q[1]], c[q[2]], c[q[3]]};
      outwardQuad(shell, rim, p, middle);
    }
  }
  // The hub: a short drum with a flat cap.
  const int hubSegments = 10;
  const double hubR = 0.055;
  int centre = shell.point(Vec3(hubX + side * 0.006, 0.0, 0.0));
  for (int s = 0; s < hubSegments; ++s) {
    double a0 = 2.0 * kPi * s / hubSegments, a1 = 2.0 * kPi * (s + 1) / hubSegments;
    Vec3 drum[4] = {around(hubX - side * 0.02, hubR, a0), around(hubX + side * 0.006, hubR, a0),
                    around(hubX + side * 0.006, hubR, a1), around(hubX - side * 0.02, hubR, a1)};
    outwardQuad(shell, rim, drum, Vec3(hubX - side * 0.01, 0.0, 0.0));
    int p0 = shell.point(drum[1]), p1 = shell.point(drum[2]);
    Vec3 n = cross(drum[1] - shell.points[size_t(centre)], drum[2] - shell.points[size_t(centre)]);
    if (n.x * side > 0.0)
      shell.triangle(rim, centre, p0, p1);
    else
      shell.triangle(rim, centre, p1, p0);
  }
}

// The inside of the rim's barrel, seen between the spokes.
void addBarrel(SmoothShell& shell, int rim) {
  const double x = kHalfWidth - 0.012;
  for (int s = 0; s < kSegments; ++s) {
    double a0 = 2.0 * kPi * s / kSegments, a1 = 2.0 * kPi * (s + 1) / kSegments;
    Vec3 p[4] = {around(-x, kRimInner, a0), around(x, kRimInner, a0), around(x, kRimInner, a1),
                 around(-x, kRimInner, a1)};
    // Faces the axle: "inside" is a point beyond the barrel.
    Vec3 mid = around(0.0, kRimInner * 2.0, 0.5 * (a0 + a1));
    outwardQuad(shell, rim, p, mid);
  }
}

// The brake disc in the middle of the wheel, one face to each side: the
// machined ring and the hat that carries it.
void addDisc(SmoothShell& shell, int disc) {
  const double outer = kRimInner - 0.003, inner = 0.07, hat = 0.012;
  for (double side : {-1.0, 1.0}) {
    int centre = shell.point(Vec3(side * hat, 0.0, 0.0));
    for (int s = 0; s < kSegments; ++s) {
      double a0 = 2.0 * kPi * s / kSegments, a1 = 2.0 * kPi * (s + 1) / kSegments;
      Vec3 ring[4] = {around(side * hat, inner, a0), around(side * hat, outer, a0), around(side * hat, outer, a1),
                      around(side * hat, inner, a1)};
      outwardQuad(shell, disc, ring, Vec3(0.0, 0.0, 0.0));
      int p0 = shell.point(ring[0]), p1 = shell.point(ring[3]);
      if (cross(ring[0] - shell.points[size_t(centre)], ring[3] - shell.points[size_t(centre)]).x * side > 0.0)
        shell.triangle(disc, centre, p0, p1);
      else
        shell.triangle(disc, centre, p1, p0);
    }
  }
}

}  // namespace

MeshBuilder buildWheel() {
  MeshBuilder mesh;
  int tyre = mesh.material("wheel_tyre");
  int rim = mesh.material("wheel_rim");
  int disc = mesh.material("wheel_disc");
  addTyre(mesh, tyre);
  SmoothShell shell;
  for (double side : {-1.0, 1.0}) addRimFace(shell, rim, side);
  addBarrel(shell, rim);
  addDisc(shell, disc);
  // The rim and disc pictures are centred on the axle, seen from the side.
  MeshBuilder parts;
  parts.materials = mesh.materials;
  parts.triangles.resize(mesh.materials.size());
  emitSmoothShell(shell, 40.0,
                  [](int, const Vec3& p, const Vec3&) {
                    return CornerLook{0.5 + p.z / 0.4, 0.5 + p.y / 0.4, Vec3(1.0, 1.0, 1.0)};
                  },
                  parts);
  int base = int(mesh.vertices.size());
  for (const MeshVertex& v : parts.vertices) fileVertex(mesh, v.position, v.normal, v.u, v.v);
  for (size_t m = 0; m < parts.triangles.size(); ++m)
    for (size_t i = 0; i + 2 < parts.triangles[m].size(); i += 3)
      mesh.addTriangle(int(m), base + parts.triangles[m][i], base + parts.triangles[m][i + 1],
                       base + parts.triangles[m][i + 2]);
  return mesh;
}
