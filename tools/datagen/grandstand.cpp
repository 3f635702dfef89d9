#include "tools/datagen/grandstand.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kFrontGap = 17.0;     // metres from the centre line to the stand's front
constexpr double kLength = 40.0;       // metres along the road
constexpr int kSteps = 6;              // rows of seats
constexpr double kStepDepth = 1.0;     // metres
constexpr double kStepRise = 0.6;      // metres
constexpr double kFrontWall = 0.8;     // metres of wall under the first row
constexpr double kHeadroom = 2.6;      // metres from the top row to the roof
constexpr double kRoofOverhang = 0.8;  // metres the roof reaches over the front row
constexpr double kFooting = 0.6;       // metres the walls go into the ground
constexpr int kMostHidden = 40;        // the stand hides at most 1/40 of the road near the start

// Regions of the stand's picture, in v: seats, concrete, roof.
constexpr double kSeatV0 = 0.02, kSeatV1 = 0.48;
constexpr double kConcreteV0 = 0.52, kConcreteV1 = 0.73;
constexpr double kRoofV0 = 0.77, kRoofV1 = 0.98;
constexpr double kUPerMetre = 1.0 / 4.0;

struct Frame {
  const Grandstand& s;
  Vec3 at(double a, double o, double h) const { return s.frontCentre + s.along * a + s.out * o + Vec3(0.0, h, 0.0); }
};

// A flat quad with its own vertices, facing `outward`, its picture from one v band.
void face(MeshBuilder& mesh, int material, const Vec3 (&p)[4], const Vec3& outward, double v0, double v1,
          double u0, double u1) {
  const Vec3 white(1.0, 1.0, 1.0);
  const double uv[4][2] = {{u0, v0}, {u1, v0}, {u1, v1}, {u0, v1}};
  int idx[4];
  for (int k = 0; k < 4; ++k) idx[k] = mesh.addVertex(p[k], outward, white, uv[k][0], uv[k][1]);
  if (dot(cross(p[1] - p[0], p[2] - p[0]), outward) >= 0.0)
    mesh.addQuad(material, idx[0], idx[1], idx[2], idx[3]);
  else
    mesh.addQuad(material, idx[0], idx[3], idx[2], idx[1]);
}

}  // namespace

namespace {

// True when the segment from a to b, seen from above, crosses the stand's footprint.
bool crossesFootprint(const Grandstand& s, const Vec3& a, const Vec3& b) {
  // Clip the segment against the footprint's slab along and its slab out.
  double t0 = 0.0, t1 = 1.0;
  Vec3 d(b.x - a.x, 0.0, b.z - a.z), r(a.x - s.frontCentre.x, 0.0, a.z - s.frontCentre.z);
  const Vec3 axes[2] = {s.along, s.out};
  const double lo[2] = {-0.5 * s.length, -kRoofOverhang}, hi[2] = {0.5 * s.length, s.depth};
  for (int k = 0; k < 2; ++k) {
    double p = dot(r, axes[k]), v = dot(d, axes[k]);
    if (std::fabs(v) < 1e-12) {
      if (p < lo[k] || p > hi[k]) return false;
      continue;
    }
    double ta = (lo[k] - p) / v, tb = (hi[k] - p) / v;
    t0 = std::max(t0, std::min(ta, tb));
    t1 = std::min(t1, std::max(ta, tb));
  }
  return t0 <= t1;
}

}  // namespace

Grandstand placeGrandstand(const TrackLayout& layout) {
  const Vec3& t = layout.tangent[0];
  Vec3 right = rightOf(t);
  const Vec3 camera = layout.startPosition + kTracksideCameraOffset;
  const std::vector<Vec3> road = roadInSight(layout);
  // Across the road from the trackside camera, so the camera sees it, by the
  // line or a little before or after it; never hiding much of the road
  // around the start from that camera.
  double cameraSide = dot(kTracksideCameraOffset, right) > 0.0 ? 1.0 : -1.0;
  for (double shift : {0.0, -35.0, 35.0, -70.0, 70.0}) {
    for (double side : {-cameraSide, cameraSide}) {
      Grandstand s;
      s.along = t;
      s.out = right * side;
      s.length = kLength;
      s.depth = kSteps * kStepDepth;
      s.top = kFrontWall + (kSteps - 1) * kStepRise + kHeadroom;
      Vec3 front = layout.startPosition + s.out * kFrontGap + t * shift;
      // On the ground, which near the start lies at or below the road.
      double ground = 1e9;
      bool clear = true;
      for (double a = -0.5; a <= 0.5; a += 0.125)
        for (double o : {-kRoofOverhang, 0.5 * s.depth, s.depth + 0.3}) {
          Vec3 p = front + s.along * (a * kLength) + s.out * o;
          ground = std::min(ground, groundHeight(layout, p.x, p.z));
          // The start straight passes the front at kFrontGap; every other part
          // of the circuit, run-off included, stays at least that far off.
          if (nearestCentre(layout, p.x, p.z).distance < kFrontGap - kRoofOverhang - 0.5) clear = false;
        }
      if (!clear) continue;
      s.frontCentre = Vec3(front.x, ground, front.z);
      int hidden = 0;
      for (const Vec3& p : road) hidden += crossesFootprint(s, camera, p) ? 1 : 0;
      if (hidden > int(road.size()) / kMostHidden) continue;
      s.present = true;
      return s;
    }
  }
  return Grandstand();
}

bool nearGrandstand(const Grandstand& stand, double x, double z, double margin) {
  if (!stand.present) return false;
  Vec3 d(x - stand.frontCentre.x, 0.0, z - stand.frontCentre.z);
  double a = dot(d, stand.along), o = dot(d, stand.out);
  return std::fabs(a) < 0.5 * stand.length + margin && o > -margin - kRoofOverhang && o < stand.depth + margin;
}

void addGrandstand(MeshBuilder& mesh, int material, const Grandstand& stand) {
  if (!stand.present) return;
  const Frame f{stand};
  const double a0 = -0.5 * stand.length, a1 = 0.5 * stand.length;
  const double u0 = a0 * kUPerMetre, u1 = a1 * kUPerMetre;
  const Vec3 up(0.0, 1.0, 0.0), down(0.0, -1.0, 0.0), toRoad = -stand.out;
  const double roof = stand.top;
  // The front wall, then each row: its riser facing the road and its tread.
  double below = -kFooting;
  for (int i = 0; i < kSteps; ++i) {
    double o = i * kStepDepth, h = kFrontWall + i * kStepRise;
    Vec3 riser[4] = {f.at(a0, o, below), f.at(a1, o, below), f.at(a1, o, h), f.at(a0, o, h)};
    face(mesh, material, riser, toRoad, i == 0 ? kConcreteV0 : kSeatV0, i == 0 ? kConcreteV1 : kSeatV0 + 0.1, u0, u1);
    Vec3 tread[4] = {f.at(a0, o, h), f.at(a1, o, h), f.at(a1, o + kStepDepth, h), f.at(a0, o + kStepDepth, h)};
    face(mesh, material, tread, up, kSeatV0, kSeatV1, u0, u1);
    below = h;
  }
  // The back wall, outside and (above the top row) inside, up to the roof.
  const double back = stand.depth;
  Vec3 outside[4] = {f.at(a0, back, -kFooting), f.at(a1, back, -kFooting), f.at(a1, back, roof), f.at(a0, back, roof)};
  face(mesh, material, outside, stand.out, kConcreteV0, kConcreteV1, u0, u1);
  Vec3 inside[4] = {f.at(a0, back, below), f.at(a1, back, below), f.at(a1, back, roof), f.at(a0, back, roof)};
  face(mesh, material, inside, toRoad, kConcreteV0, kConcreteV1, u0, u1);
  // The ends, closed from the ground to the roof.
  for (double a : {a0, a1}) {
    Vec3 end[4] = {f.at(a, 0.0, -kFooting), f.at(a, back, -kFooting), f.at(a, back, roof), f.at(a, 0.0, roof)};
    face(mesh, material, end, stand.along * (a > 0.0 ? 1.0 : -1.0), kConcreteV0, kConcreteV1, 0.0, back * kUPerMetre);
  }
  // The roof, seen from above and from below.
  const double r0 = -kRoofOverhang, r1 = back + 0.3;
  Vec3 roofTop[4] = {f.at(a0 - 0.5, r0, roof + 0.25), f.at(a1 + 0.5, r0, roof + 0.25), f.at(a1 + 0.5, r1, roof + 0.25),
                     f.at(a0 - 0.5, r1, roof + 0.25)};
  face(mesh, material, roofTop, up, kRoofV0, kRoofV1, u0, u1);
  Vec3 roofUnder[4] = {f.at(a0 - 0.5, r0, roof), f.at(a1 + 0.5, r0, roof), f.at(a1 + 0.5, r1, roof),
                       f.at(a0 - 0.5, r1, roof)};
  face(mesh, material, roofUnder, down, kConcreteV0, kConcreteV1, u0, u1);
  Vec3 roofEdge[4] = {f.at(a0 - 0.5, r0, roof), f.at(a1 + 0.5, r0, roof), f.at(a1 + 0.5, r0, roof + 0.25),
                      f.at(a0 - 0.5, r0, roof + 0.25)};
  face(mesh, material, roofEdge, toRoad, kRoofV0, kRoofV1, u0, u1);
}
