#include "tools/datagen/car_model.h"

#include "tools/datagen/noise.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// The loader turns the body by 180 degrees about y and adds 0.25 and 0.1 to y
// after taking 0.03 off z; the file holds the inverse of that.
Vec3 bodyToFile(const Vec3& p) { return Vec3(-p.x, p.y - 0.35, -(p.z + 0.03)); }
Vec3 bodyNormalToFile(const Vec3& n) { return Vec3(-n.x, n.y, -n.z); }

constexpr double kHalfLength = 2.05;
constexpr double kBottomY = kGroundY + 0.15;  // 15 cm of ground clearance
constexpr double kRoofY = kGroundY + 1.4;
constexpr double kArchRadius = 0.355;
constexpr int kStations = 84;
constexpr int kRing = 10;

// The side profile along the car (z from the nose at -2.05 to the tail).
struct Station {
  double z;
  double bottom;  // underside, raised over the wheels into arches
  double belt;    // top of the lower body: bonnet, waist line, boot lid
  double roof;    // top of the cabin; equal to belt outside it
  double width;   // half-width of the lower body
  double roofWidth;  // half-width of the cabin top
};

double ramp(double z, double z0, double z1) { return smoothstep01((z - z0) / (z1 - z0)); }

Station station(double z) {
  Station s;
  s.z = z;
  double end = std::fabs(z) / kHalfLength;
  s.width = 0.875 - 0.09 * std::pow(std::max(0.0, (end - 0.82) / 0.18), 2.0);
  s.bottom = kBottomY + 0.10 * std::pow(std::max(0.0, (end - 0.86) / 0.14), 2.0);
  for (double axle : {-kAxleZ, kAxleZ}) {
    double dz = z - axle;
    if (std::fabs(dz) < kArchRadius)
      s.bottom = std::max(s.bottom, kWheelCentreY + std::sqrt(kArchRadius * kArchRadius - dz * dz));
  }
  // Bonnet from the nose up to the windscreen, boot lid behind the cabin.
  double nose = kGroundY + 0.62, bonnet = kGroundY + 0.86, tail = kGroundY + 0.9;
  double deck = kGroundY + 0.98;
  if (z < -0.8)
    s.belt = nose + (bonnet - nose) * ramp(z, -2.05, -1.55) + 0.04 * ramp(z, -1.55, -0.8);
  else if (z < 1.25)
    s.belt = bonnet + 0.04 + (deck - bonnet - 0.04) * ramp(z, -0.8, 1.25);
  else
    s.belt = deck - (deck - tail) * ramp(z, 1.8, 2.05);
  // Cabin: windscreen from -0.82 to -0.05, roof to 0.7, rear window to 1.3.
  double cabin = 0.0;
  if (z > -0.82 && z < 1.3) cabin = ramp(z, -0.82, -0.05) * (1.0 - ramp(z, 0.7, 1.3));
  s.roof = s.belt + (kRoofY - s.belt) * cabin;
  s.roofWidth = s.width - 0.04 - 0.18 * cabin;
  return s;
}

// The ring of a station, from the lower left corner over the roof to the lower
// right corner (x, y pairs); the underside closes it.
void ringPoints(const Station& s, double xs[kRing], double ys[kRing]) {
  double belt = s.belt, w = s.width;
  double skirt = std::min(s.bottom + 0.1, belt - 0.1);
  const double lx[5] = {-(w - 0.07), -w, -w, -(w - 0.035), -s.roofWidth};
  const double ly[5] = {s.bottom, skirt, belt - 0.07, belt, s.roof};
  for (int k = 0; k < 5; ++k) {
    xs[k] = lx[k];
    ys[k] = ly[k];
    xs[kRing - 1 - k] = -lx[k];
    ys[kRing - 1 - k] = ly[k];
  }
}

struct CarBuilder {
  MeshBuilder& mesh;
  int paint, glass, trim, lights;

  int vertex(const Vec3& body, const Vec3& normal, double u, double v) {
    Vec3 n = normal;
    normalizeGuarded(n);
    return mesh.addVertex(bodyToFile(body), bodyNormalToFile(n), Vec3(1.0, 1.0, 1.0), u, v);
  }
  // A quad facing away from `inside`, skipped when it has no area.
  void quad(int material, const Vec3 p[4], const Vec3& inside, double u0, double u1) {
    Vec3 n = cross(p[1] - p[0], p[2] - p[0]) + cross(p[2] - p[0], p[3] - p[0]);
    if (length(n) < 1e-7) return;
    Vec3 centre = (p[0] + p[1] + p[2] + p[3]) * 0.25;
    bool flip = dot(n, centre - inside) < 0.0;
    if (flip) n = -n;
    int idx[4];
    for (int k = 0; k < 4; ++k) {
      double u = (k == 0 || k == 3) ? u0 : u1;
      idx[k] = vertex(p[k], n, u, (p[k].y - kGroundY) / 1.4);
    }
    if (flip)
      mesh.addQuad(material, idx[0], idx[3], idx[2], idx[1]);
    else
      mesh.addQuad(material, idx[0], idx[1], idx[2], idx[3]);
  }
};

// Lofts the body through the stations: every strip of the ring between two
// stations is one quad, painted, glazed or trimmed by where it lies.
void addShell(CarBuilder& b) {
  std::vector<Station> st;
  for (int i = 0; i < kStations; ++i) st.push_back(station(-kHalfLength + 2.0 * kHalfLength * i / (kStations - 1)));
  for (int i = 0; i + 1 < kStations; ++i) {
    double xa[kRing], ya[kRing], xb[kRing], yb[kRing];
    ringPoints(st[size_t(i)], xa, ya);
    ringPoints(st[size_t(i + 1)], xb, yb);
    double za = st[size_t(i)].z, zb = st[size_t(i + 1)].z;
    bool cabin = st[size_t(i)].roof > st[size_t(i)].belt + 0.03 || st[size_t(i + 1)].roof > st[size_t(i + 1)].belt + 0.03;
    double u0 = 0.5 + za / (2.0 * kHalfLength), u1 = 0.5 + zb / (2.0 * kHalfLength);
    for (int k = 0; k < kRing; ++k) {
      int k1 = (k + 1) % kRing;
      Vec3 p[4] = {Vec3(xa[k], ya[k], za), Vec3(xa[k1], ya[k1], za), Vec3(xb[k1], yb[k1], zb),
                   Vec3(xb[k], yb[k], zb)};
      Vec3 inside(0.0, 0.5 * (st[size_t(i)].bottom + st[size_t(i)].belt), 0.5 * (za + zb));
      int material = b.paint;
      if (k == kRing - 1 || k == 0 || k == kRing - 2) material = b.trim;  // underside and sills
      if ((k == 3 || k == 5) && cabin) material = b.glass;               // side windows
      if (k == 4 && cabin) {
        // Roof strip: steep parts are the windscreen and the rear window.
        double rise = std::fabs(yb[k] - ya[k]) / (zb - za);
        if (rise > 0.35) material = b.glass;
      }
      b.quad(material, p, inside, u0, u1);
    }
  }
  // Nose and tail: fans from a point on the bumper line; the bumper below it
  // is trim, the panel above it paint.
  for (int end = 0; end < 2; ++end) {
    const Station& s = st[size_t(end == 0 ? 0 : kStations - 1)];
    double xs[kRing], ys[kRing];
    ringPoints(s, xs, ys);
    Vec3 centre(0.0, s.bottom + 0.2, s.z);
    Vec3 inside(0.0, centre.y, end == 0 ? s.z + 1.0 : s.z - 1.0);
    for (int k = 0; k < kRing; ++k) {
      int k1 = (k + 1) % kRing;
      Vec3 p[4] = {centre, Vec3(xs[k], ys[k], s.z), Vec3(xs[k1], ys[k1], s.z), centre};
      bool bumper = k == 0 || k == kRing - 2 || k == kRing - 1;
      b.quad(bumper ? b.trim : b.paint, p, inside, 0.5, 0.5);
    }
  }
}

// Head and tail lights: flat panels just proud of the nose and the tail.
void addLights(CarBuilder& b) {
  for (int end = 0; end < 2; ++end) {
    double z = end == 0 ? -kHalfLength - 0.006 : kHalfLength + 0.006;
    double y0 = end == 0 ? kGroundY + 0.5 : kGroundY + 0.72, y1 = y0 + 0.1;
    for (double side : {-1.0, 1.0}) {
      double x0 = side * 0.42, x1 = side * 0.7;
      Vec3 p[4] = {Vec3(x0, y0, z), Vec3(x1, y0, z), Vec3(x1, y1, z), Vec3(x0, y1, z)};
      Vec3 inside(0.0, y0, end == 0 ? z + 1.0 : z - 1.0);
      // The light texture holds the headlight in its left half and the tail light in its right.
      double u0 = end == 0 ? 0.02 : 0.52, u1 = u0 + 0.46;
      b.quad(b.lights, p, inside, u0, u1);
    }
  }
}

}  // namespace

MeshBuilder buildCarBody() {
  MeshBuilder mesh;
  CarBuilder b{mesh, mesh.material("evo_paint"), mesh.material("evo_glass"), mesh.material("evo_trim"),
               mesh.material("evo_lights")};
  addShell(b);
  addLights(b);
  return mesh;
}

namespace {

constexpr double kWheelScale = 0.9;  // the loader's shrink
constexpr int kWheelSegments = 28;

// Texture coordinates as the loader will leave them after its turn.
int wheelVertex(MeshBuilder& mesh, const Vec3& p, const Vec3& n, double u, double v) {
  Vec3 nn = n;
  normalizeGuarded(nn);
  return mesh.addVertex(p * (1.0 / kWheelScale), nn, Vec3(1.0, 1.0, 1.0), -v, -u);
}

}  // namespace

MeshBuilder buildWheel() {
  MeshBuilder mesh;
  int tyre = mesh.material("wheel_tyre");
  int rim = mesh.material("wheel_rim");
  const double r = kTyreRadius, halfWidth = 0.1025;
  const double shoulder = r - 0.03, rimRadius = r - 0.085, dish = 0.03;
  // Rings across the tyre profile: (x, radius, tyre texture v).
  struct Ring {
    double x, radius, v;
  };
  const Ring profile[] = {{-halfWidth + 0.012, rimRadius, 0.0}, {-halfWidth, shoulder - 0.03, 0.12},
                          {-halfWidth + 0.012, shoulder + 0.012, 0.25}, {-halfWidth + 0.03, r, 0.32},
                          {halfWidth - 0.03, r, 0.68}, {halfWidth - 0.012, shoulder + 0.012, 0.75},
                          {halfWidth, shoulder - 0.03, 0.88}, {halfWidth - 0.012, rimRadius, 1.0}};
  const int rings = int(sizeof(profile) / sizeof(profile[0]));
  for (int k = 0; k + 1 < rings; ++k) {
    for (int s = 0; s < kWheelSegments; ++s) {
      double a0 = 2.0 * kPi * s / kWheelSegments, a1 = 2.0 * kPi * (s + 1) / kWheelSegments;
      const Ring& ra = profile[k];
      const Ring& rb = profile[k + 1];
      auto at = [](const Ring& ring, double a) {
        return Vec3(ring.x, ring.radius * std::cos(a), ring.radius * std::sin(a));
      };
      Vec3 p[4] = {at(ra, a0), at(rb, a0), at(rb, a1), at(ra, a1)};
      // Tread faces point out from the axle; sidewalls out to their side.
      Vec3 outward(0.0, std::cos(0.5 * (a0 + a1)), std::sin(0.5 * (a0 + a1)));
      Vec3 n = outward;
      if (std::fabs(rb.x - ra.x) < std::fabs(rb.radius - ra.radius))
        n = Vec3(ra.x < 0.0 ? -1.0 : 1.0, 0.0, 0.0) + outward * 0.3;
      // Eight tread repeats around the circumference.
      double u0 = 8.0 * s / kWheelSegments, u1 = 8.0 * (s + 1) / kWheelSegments;
      int idx[4] = {wheelVertex(mesh, p[0], n, u0, ra.v), wheelVertex(mesh, p[1], n, u0, rb.v),
                    wheelVertex(mesh, p[2], n, u1, rb.v), wheelVertex(mesh, p[3], n, u1, ra.v)};
      Vec3 face = cross(p[1] - p[0], p[2] - p[0]) + cross(p[2] - p[0], p[3] - p[0]);
      if (dot(face, n) >= 0.0)
        mesh.addQuad(tyre, idx[0], idx[1], idx[2], idx[3]);
      else
        mesh.addQuad(tyre, idx[0], idx[3], idx[2], idx[1]);
    }
  }
  // The rim faces, dished in on both sides, with the spokes painted on.
  for (double side : {-1.0, 1.0}) {
    double x = side * (halfWidth - 0.012 - dish);
    int centre = wheelVertex(mesh, Vec3(x, 0.0, 0.0), Vec3(side, 0.0, 0.0), 0.5, 0.5);
    std::vector<int> outer;
    for (int s = 0; s <= kWheelSegments; ++s) {
      double a = 2.0 * kPi * s / kWheelSegments;
      Vec3 p(side * (halfWidth - 0.012), rimRadius * std::cos(a), rimRadius * std::sin(a));
      outer.push_back(wheelVertex(mesh, p, Vec3(side, 0.0, 0.0), 0.5 + 0.5 * std::sin(a) * side,
                                  0.5 + 0.5 * std::cos(a)));
    }
    for (int s = 0; s < kWheelSegments; ++s) {
      const Vec3& a = mesh.vertices[size_t(outer[size_t(s)])].position;
      const Vec3& c = mesh.vertices[size_t(outer[size_t(s + 1)])].position;
      const Vec3& o = mesh.vertices[size_t(centre)].position;
      if (cross(a - o, c - o).x * side > 0.0)
        mesh.addTriangle(rim, centre, outer[size_t(s)], outer[size_t(s + 1)]);
      else
        mesh.addTriangle(rim, centre, outer[size_t(s + 1)], outer[size_t(s)]);
    }
  }
  return mesh;
}
