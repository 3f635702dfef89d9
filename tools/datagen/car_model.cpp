#include "tools/datagen/car_model.h"

#include "tools/datagen/noise.h"
#include "tools/datagen/smooth_shell.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

// The loader turns the body by 180 degrees about y and adds 0.25 and 0.1 to y
// after taking 0.03 off z; the file holds the inverse of that.
Vec3 bodyToFile(const Vec3& p) { return Vec3(-p.x, p.y - 0.35, -(p.z + 0.03)); }
Vec3 bodyNormalToFile(const Vec3& n) { return Vec3(-n.x, n.y, -n.z); }

// Heights are given above the ground under the wheels.
double at(double height) { return kGroundY + height; }

constexpr double kNoseZ = -2.05;
constexpr double kTailZ = 2.05;
constexpr double kArchRadius = 0.36;
constexpr double kCreaseDegrees = 38.0;

// Where the glasshouse starts and ends along the car.
constexpr double kCowlZ = -0.80;        // foot of the windscreen
constexpr double kScreenTopZ = -0.06;   // top of the windscreen
constexpr double kRoofEndZ = 0.78;      // top of the rear window
constexpr double kRearGlassZ = 1.36;    // foot of the rear window
constexpr double kRoofHeight = 1.40;
constexpr double kSideGlassFrom = -0.68, kSideGlassTo = 1.02;
constexpr double kPillarFrom = 0.27, kPillarTo = 0.35;  // the black centre pillar
// Shut lines: front door, door to door, rear door; bonnet and boot lid.
constexpr double kDoorSeams[] = {-0.72, 0.31, 0.80};
constexpr double kBonnetSeamZ = -1.84, kBootSeamZ = 1.44;
constexpr double kSeamHalf = 0.007;
constexpr double kPlateHalfWidth = 0.25;  // the number plates on the bumpers

enum Part { kPaint, kGlass, kTrim, kLights };

// The half cross-section has 12 points from the middle of the underside
// round the side to the middle of the top; segment s joins point s to s + 1.
constexpr int kHalfPoints = 12;
enum Segment { kUnderside = 0, kSillFoot = 1, kSill = 2, kDoorLow = 3, kDoorMid = 4, kDoorHigh = 5,
               kShoulder = 6, kSideGlass = 7, kRail = 8, kRoofOuter = 9, kRoofInner = 10 };

double windowAround(double z, double centre, double flat, double fade) {
  return 1.0 - smoothstep01((std::fabs(z - centre) - flat) / fade);
}

// Half-width of the body at the door handles, the arches flared out.
double bodyHalfWidth(double z) {
  double flare = std::max(windowAround(z, -kAxleZ, 0.30, 0.28), windowAround(z, kAxleZ, 0.30, 0.28));
  return 0.855 + 0.03 * flare;
}

// The waist: a gentle wedge rising from the nose to the boot.
double beltHeight(double z) {
  if (z < kCowlZ) return 0.80 + 0.06 * smoothstep01((z + 1.95) / 1.15);
  return 0.86 + 0.05 * smoothstep01((z - kCowlZ) / 2.2);
}

// Bonnet and boot lid stand a little proud of the waist in the middle.
double deckCrown(double z) { return z < 0.0 ? 0.045 : 0.03; }

// The roof line over the cabin, carried on flat beyond it.
double roofArc(double z) {
  double screenTop = kRoofHeight - 0.025, roofEnd = kRoofHeight - 0.035;
  double t = std::clamp((z - kScreenTopZ) / (kRoofEndZ - kScreenTopZ), 0.0, 1.0);
  return screenTop + (roofEnd - screenTop) * t + 4.0 * 0.03 * t * (1.0 - t);
}

// The top of the glasshouse along the middle: the windscreen and the rear
// window are straight, the roof arched; 0 outside the cabin.
double cabinTop(double z) {
  double cowl = beltHeight(kCowlZ) + deckCrown(kCowlZ);
  double rear = beltHeight(kRearGlassZ) + deckCrown(kRearGlassZ);
  if (z <= kCowlZ || z >= kRearGlassZ) return 0.0;
  if (z < kScreenTopZ) return cowl + (roofArc(kScreenTopZ) - cowl) * (z - kCowlZ) / (kScreenTopZ - kCowlZ);
  if (z > kRoofEndZ) return roofArc(kRoofEndZ) + (rear - roofArc(kRoofEndZ)) * (z - kRoofEndZ) / (kRearGlassZ - kRoofEndZ);
  return roofArc(z);
}

struct Section {
  double x[kHalfPoints], y[kHalfPoints];  // heights above the ground
  double cabin;                           // 0 on the bonnet and boot, 1 under the roof
};

// The cross-section at z, before the nose and tail round it off.
Section section(double z) {
  Section s;
  double w = bodyHalfWidth(z);
  double end = std::max(0.0, (std::fabs(z) - 1.55) / 0.5);
  double bottom = 0.15 + 0.09 * end * end;
  for (double axle : {-kAxleZ, kAxleZ}) {
    double dz = z - axle;
    if (std::fabs(dz) < kArchRadius)
      bottom = std::max(bottom, kWheelCentreY - kGroundY + std::sqrt(kArchRadius * kArchRadius - dz * dz));
  }
  double belt = beltHeight(z), deck = belt + deckCrown(z);
  // The cabin's points rise together from the deck to the roof, so the
  // windscreen and the rear window come out as flat panes.
  double roof = roofArc(z), top = cabinTop(z);
  double cabin = top > deck ? std::min(1.0, (top - deck) / (roof - deck)) : 0.0;
  double roofHalf = 0.6;
  auto lerp = [](double a, double b, double t) { return a + (b - a) * t; };
  const double xs[kHalfPoints] = {0.0, w - 0.12, w - 0.03, w, w + 0.012, w, w - 0.02, w - 0.07,
                                  lerp(w - 0.095, roofHalf + 0.03, cabin), lerp(w - 0.12, roofHalf - 0.03, cabin),
                                  lerp(0.45 * w, 0.5 * roofHalf, cabin), 0.0};
  const double ys[kHalfPoints] = {bottom, bottom, bottom + 0.04, std::max(bottom, 0.30), std::max(bottom, 0.52),
                                  std::max(bottom, belt - 0.14), belt - 0.035, belt,
                                  lerp(belt + 0.01, roof - 0.05, cabin), lerp(belt + 0.02, roof - 0.015, cabin),
                                  lerp(deck - 0.01, roof - 0.003, cabin), lerp(deck, roof, cabin)};
  for (int k = 0; k < kHalfPoints; ++k) {
    s.x[k] = xs[k];
    s.y[k] = ys[k];
  }
  // Keep the side in order where the arch lifts the underside past it.
  for (int k = kSill + 1; k < kHalfPoints; ++k) s.y[k] = std::max(s.y[k], s.y[k - 1]);
  s.cabin = cabin;
  return s;
}

// How the nose or tail rounds a section off: every point moves in across
// the car, and the heights close in on the widest point by a fraction from
// above and from below, which keeps the ring in order.
struct Rounding {
  double across;  // m
  double down, up;
};

Section rounded(const Section& s, const Rounding& r) {
  Section o = s;
  double pivot = s.y[4];
  for (int k = 0; k < kHalfPoints; ++k) {
    o.x[k] = std::max(0.0, s.x[k] - r.across) * (k == 0 || k == kHalfPoints - 1 ? 0.0 : 1.0);
    double fraction = s.y[k] > pivot ? r.down : r.up;
    o.y[k] = pivot + (s.y[k] - pivot) * (1.0 - fraction);
  }
  return o;
}

// One station of the loft: the section and where it stands.
struct Station {
  double z;
  Section s;
  int band;  // 0 along the body; 1.. the rounding of the nose or tail; -1 the flat end face
};

// The stations from the nose to the tail: the rounded nose, the body at
// about 6 cm steps with extra stations where windows, pillars and shut lines
// begin and end (so their edges are straight), and the rounded tail.
std::vector<Station> stations() {
  const Rounding rounding[2] = {{0.16, 0.35, 0.3}, {0.12, 0.25, 0.3}};  // nose, tail
  const double tips[2] = {kNoseZ, kTailZ}, depths[2] = {0.25, 0.2};     // m rounded off
  const int roundSteps = 5;
  std::vector<Station> ends[2];
  for (int end = 0; end < 2; ++end) {
    const Rounding& r = rounding[end];
    double inward = end == 0 ? 1.0 : -1.0;
    double fullZ = tips[end] + inward * depths[end];
    Section full = section(fullZ);
    ends[end].push_back({fullZ, full, 0});
    // A quarter ellipse in side and plan view.
    for (int j = 1; j <= roundSteps; ++j) {
      double phi = 0.5 * kPi * j / roundSteps, in = 1.0 - std::cos(phi);
      Rounding step{r.across * in, r.down * in, r.up * in};
      ends[end].push_back({tips[end] + inward * depths[end] * (1.0 - std::sin(phi)), rounded(full, step), j});
    }
    // The flat end face: the last ring drawn in towards its middle.
    Section face = rounded(full, r);
    double cy = 0.5 * (face.y[kDoorLow] + face.y[kSideGlass]);
    for (int k = 0; k < kHalfPoints; ++k) {
      face.x[k] *= 0.55;
      face.y[k] = cy + (face.y[k] - cy) * 0.55;
    }
    ends[end].push_back({tips[end], face, -1});
  }
  std::vector<double> zs;
  double from = ends[0].front().z, to = ends[1].front().z;
  for (double z = from + 0.06; z < to - 0.03; z += 0.06) zs.push_back(z);
  for (double z : {kCowlZ, kScreenTopZ, kRoofEndZ, kRearGlassZ, kSideGlassFrom, kSideGlassTo, kPillarFrom,
                   kPillarTo})
    zs.push_back(z);
  for (double seam : kDoorSeams) zs.insert(zs.end(), {seam - kSeamHalf, seam + kSeamHalf});
  for (double seam : {kBonnetSeamZ, kBootSeamZ}) zs.insert(zs.end(), {seam - kSeamHalf, seam + kSeamHalf});
  std::sort(zs.begin(), zs.end());
  std::vector<Station> out(ends[0].rbegin(), ends[0].rend());
  for (double z : zs) out.push_back({z, section(z), 0});
  out.insert(out.end(), ends[1].begin(), ends[1].end());
  return out;
}

bool inSeam(double z) {
  for (double seam : kDoorSeams)
    if (std::fabs(z - seam) < kSeamHalf + 1e-9) return true;
  return false;
}

// What a strip of the shell between two stations is made of.
int partOf(const Station& a, const Station& b, int segment) {
  double z = 0.5 * (a.z + b.z);
  bool cabin = std::max(a.s.cabin, b.s.cabin) > 0.02;
  if (segment <= kSill) return kTrim;
  // The rounded ends: lamps on the upper corners.
  int band = std::max(a.band, b.band);
  if (a.band != 0 || b.band != 0) {
    bool endFace = a.band == -1 || b.band == -1;
    if ((segment == kDoorHigh || segment == kShoulder) && (endFace || band >= 3)) return kLights;
    return kPaint;
  }
  if (segment >= kDoorLow && segment <= kShoulder && inSeam(z)) return kTrim;
  if (segment >= kSideGlass && !cabin) {
    bool seam = std::fabs(z - kBonnetSeamZ) < kSeamHalf + 1e-9 || std::fabs(z - kBootSeamZ) < kSeamHalf + 1e-9;
    return seam ? kTrim : kPaint;
  }
  if (segment == kSideGlass) {
    if (z > kPillarFrom && z < kPillarTo) return kTrim;
    return z > kSideGlassFrom && z < kSideGlassTo ? kGlass : kPaint;
  }
  if (segment == kRail) return z > kSideGlassFrom && z < kSideGlassTo ? kTrim : kPaint;
  bool screen = (z > kCowlZ && z < kScreenTopZ) || (z > kRoofEndZ && z < kRearGlassZ);
  return segment >= kRoofOuter && screen ? kGlass : kPaint;
}

// Both halves of a station as one ring, from the middle of the underside
// round the right side, over the top and down the left side.
constexpr int kRing = 2 * kHalfPoints - 2;

void ringPoints(SmoothShell& shell, const Station& st, int ids[kRing]) {
  for (int k = 0; k < kHalfPoints; ++k) ids[k] = shell.point(Vec3(st.s.x[k], at(st.s.y[k]), st.z));
  for (int k = kHalfPoints - 2; k >= 1; --k) ids[kRing - k] = shell.point(Vec3(-st.s.x[k], at(st.s.y[k]), st.z));
}

// The segment of the half section a ring segment mirrors.
int halfSegment(int i) { return i < kHalfPoints - 1 ? i : kRing - 1 - i; }

void loftBody(SmoothShell& shell, const int parts[4]) {
  std::vector<Station> st = stations();
  std::vector<std::vector<int>> rings(st.size(), std::vector<int>(kRing));
  for (size_t i = 0; i < st.size(); ++i) ringPoints(shell, st[i], rings[i].data());
  for (size_t i = 0; i + 1 < st.size(); ++i) {
    for (int k = 0; k < kRing; ++k) {
      int k1 = (k + 1) % kRing;
      int part = partOf(st[i], st[i + 1], halfSegment(k));
      // Counter-clockwise from outside: the ring runs round +z as seen from behind.
      shell.quad(parts[part], rings[i][k], rings[i][k1], rings[i + 1][k1], rings[i + 1][k]);
    }
  }
  // Close the flat ends with horizontal strips from side to side: the
  // intake at the bottom, the bumper with the number plate in its middle,
  // and at the front the grille between the headlamps. Every strip is cut
  // at the plate's edges, so neighbouring strips share their corners.
  for (int end = 0; end < 2; ++end) {
    const std::vector<int>& ring = end == 0 ? rings.front() : rings.back();
    std::vector<int> cutRight(kHalfPoints), cutLeft(kHalfPoints);
    for (int k = 0; k < kHalfPoints; ++k) {
      // A copy: adding the cut points may move the shell's point list.
      Vec3 p = shell.points[size_t(ring[k])];
      bool wide = p.x > kPlateHalfWidth;
      cutRight[size_t(k)] = wide ? shell.point(Vec3(kPlateHalfWidth, p.y, p.z)) : ring[k];
      cutLeft[size_t(k)] = wide ? shell.point(Vec3(-kPlateHalfWidth, p.y, p.z)) : ring[(kRing - k) % kRing];
    }
    for (int k = 0; k + 1 < kHalfPoints; ++k) {
      int part = k <= kSill ? kTrim : kPaint;
      if (end == 0 && k >= kDoorMid && k <= kShoulder) part = kTrim;
      int middle = k == kDoorLow ? kLights : part;
      const int pieces[3][4] = {
          {ring[k], cutRight[size_t(k)], cutRight[size_t(k + 1)], ring[k + 1]},
          {cutRight[size_t(k)], cutLeft[size_t(k)], cutLeft[size_t(k + 1)], cutRight[size_t(k + 1)]},
          {cutLeft[size_t(k)], ring[(kRing - k) % kRing], ring[(kRing - k - 1) % kRing], cutLeft[size_t(k + 1)]}};
      for (int piece = 0; piece < 3; ++piece) {
        const int* q = pieces[piece];
        int material = parts[piece == 1 ? middle : part];
        if (end == 0)
          shell.quad(material, q[0], q[1], q[2], q[3]);
        else
          shell.quad(material, q[0], q[3], q[2], q[1]);
      }
    }
  }
}

// A closed block of eight corners (bottom four round it, then the four above
// them), each side facing out, one part per side: -x, +x, -z, +z, bottom, top.
void block(SmoothShell& shell, const Vec3 c[8], const int part[6]) {
  int p[8];
  Vec3 middle(0.0, 0.0, 0.0);
  for (int k = 0; k < 8; ++k) {
    p[k] = shell.point(c[k]);
    middle += c[k] * 0.125;
  }
  const int sides[6][4] = {{0, 1, 5, 4}, {1, 2, 6, 5}, {2, 3, 7, 6}, {3, 0, 4, 7}, {0, 3, 2, 1}, {4, 5, 6, 7}};
  for (const int* q : sides) {
    Vec3 n = cross(c[q[1]] - c[q[0]], c[q[2]] - c[q[0]]) + cross(c[q[2]] - c[q[0]], c[q[3]] - c[q[0]]);
    Vec3 centre = (c[q[0]] + c[q[1]] + c[q[2]] + c[q[3]]) * 0.25;
    bool flip = dot(n, centre - middle) < 0.0;
    if (flip) n = -n;
    int which = 0;
    if (std::fabs(n.y) >= std::max(std::fabs(n.x), std::fabs(n.z)))
      which = n.y < 0.0 ? 4 : 5;
    else if (std::fabs(n.x) > std::fabs(n.z))
      which = n.x < 0.0 ? 0 : 1;
    else
      which = n.z < 0.0 ? 2 : 3;
    if (flip)
      shell.quad(part[which], p[q[0]], p[q[3]], p[q[2]], p[q[1]]);
    else
      shell.quad(part[which], p[q[0]], p[q[1]], p[q[2]], p[q[3]]);
  }
}

// Door mirrors on stalks at the front of the side windows, glass facing back.
void addMirrors(SmoothShell& shell, const int parts[4]) {
  for (double side : {-1.0, 1.0}) {
    double z0 = -0.66, z1 = -0.54;
    double y0 = at(beltHeight(z0) + 0.03), y1 = y0 + 0.11;
    double x0 = 0.74, x1 = 0.97;
    Vec3 c[8] = {Vec3(x0, y0, z0), Vec3(x1, y0 + 0.01, z0 + 0.04), Vec3(x1, y0 + 0.01, z1), Vec3(x0, y0, z1),
                 Vec3(x0, y1, z0), Vec3(x1, y1 - 0.01, z0 + 0.04), Vec3(x1, y1 - 0.01, z1), Vec3(x0, y1, z1)};
    for (Vec3& q : c) q.x *= side;
    const int part[6] = {parts[kPaint], parts[kPaint], parts[kPaint], parts[kGlass], parts[kTrim], parts[kPaint]};
    block(shell, c, part);
  }
}

// The rally saloon's rear wing: two stands on the boot lid and a blade.
void addWing(SmoothShell& shell, const int parts[4]) {
  double deck = beltHeight(1.8) + deckCrown(1.8);
  const int paint[6] = {parts[kPaint], parts[kPaint], parts[kPaint], parts[kPaint], parts[kTrim], parts[kPaint]};
  for (double side : {-1.0, 1.0}) {
    double x0 = side * 0.52 - 0.025, x1 = side * 0.52 + 0.025;
    double y0 = at(deck - 0.02), y1 = at(deck + 0.1);
    Vec3 c[8] = {Vec3(x0, y0, 1.70), Vec3(x1, y0, 1.70), Vec3(x1, y0, 1.86), Vec3(x0, y0, 1.86),
                 Vec3(x0, y1, 1.78), Vec3(x1, y1, 1.78), Vec3(x1, y1, 1.92), Vec3(x0, y1, 1.92)};
    block(shell, c, paint);
  }
  double y = at(deck + 0.1);
  Vec3 c[8] = {Vec3(-0.74, y, 1.72), Vec3(-0.74, y + 0.02, 1.98), Vec3(0.74, y + 0.02, 1.98), Vec3(0.74, y, 1.72),
               Vec3(-0.74, y + 0.03, 1.72), Vec3(-0.74, y + 0.065, 1.98), Vec3(0.74, y + 0.065, 1.98),
               Vec3(0.74, y + 0.03, 1.72)};
  block(shell, c, paint);
}

// A bonnet scoop in the middle of the bonnet, its mouth black.
void addScoop(SmoothShell& shell, const int parts[4]) {
  double z0 = -1.42, z1 = -1.08;
  double y0 = at(beltHeight(z0) + deckCrown(z0) - 0.015), y1 = at(beltHeight(z1) + deckCrown(z1) - 0.015);
  Vec3 c[8] = {Vec3(-0.26, y0, z0), Vec3(0.26, y0, z0), Vec3(0.3, y1, z1), Vec3(-0.3, y1, z1),
               Vec3(-0.24, y0 + 0.06, z0 + 0.03), Vec3(0.24, y0 + 0.06, z0 + 0.03), Vec3(0.27, y1 + 0.035, z1),
               Vec3(-0.27, y1 + 0.035, z1)};
  const int part[6] = {parts[kPaint], parts[kPaint], parts[kTrim], parts[kPaint], parts[kTrim], parts[kPaint]};
  block(shell, c, part);
}

// The dashboard, reaching forward under the bonnet, seen only from the roof
// camera inside the cabin: without it the road would show through the floor
// below the windscreen.
void addDashboard(SmoothShell& shell, const int parts[4]) {
  double y = at(beltHeight(kCowlZ) - 0.05);
  int p[4] = {shell.point(Vec3(-0.6, y, -1.3)), shell.point(Vec3(-0.6, y, -0.35)),
              shell.point(Vec3(0.6, y, -0.35)), shell.point(Vec3(0.6, y, -1.3))};
  shell.quad(parts[kTrim], p[0], p[1], p[2], p[3]);
}

// Texture coordinates by part. Without shader programs the paint and glass
// pictures are all there is to show the shape, so their u follows how far
// the surface faces up (light from the sky) and v the height; the lamps are
// mapped flat onto their lamp.
struct BodyPainter {
  int parts[4];
  double frontPlate[2], rearPlate[2];  // lowest and highest y of each plate
  CornerLook operator()(int material, const Vec3& p, const Vec3& n) const {
    double h = (p.y - kGroundY) / 1.45;
    if (material == parts[kLights]) {
      bool front = p.z < 0.0;
      // The number plates (the lamps keep well away from the middle) fill the
      // picture's last fifth, read from left to right as seen from outside.
      if (std::fabs(p.x) < kPlateHalfWidth + 1e-6) {
        const double* range = front ? frontPlate : rearPlate;
        double along = (p.x + kPlateHalfWidth) / (2.0 * kPlateHalfWidth);
        if (front) along = 1.0 - along;
        double up = std::clamp((p.y - range[0]) / (range[1] - range[0]), 0.0, 1.0);
        return {0.805 + 0.19 * along, up, Vec3(1.0, 1.0, 1.0)};
      }
      double across = std::clamp((std::fabs(p.x) - 0.35) / 0.5, 0.0, 1.0);
      double up = std::clamp((p.y - at(front ? 0.58 : 0.69)) / 0.16, 0.0, 1.0);
      return {(front ? 0.005 : 0.405) + 0.35 * across, up, Vec3(1.0, 1.0, 1.0)};
    }
    if (material == parts[kTrim]) return {0.5 + 0.5 * p.z / 2.05, h, Vec3(1.0, 1.0, 1.0)};
    return {std::clamp(0.5 + 0.5 * n.y, 0.01, 0.99), std::clamp(h, 0.01, 0.99), Vec3(1.0, 1.0, 1.0)};
  }
};

}  // namespace

MeshBuilder buildCarBody() {
  MeshBuilder mesh;
  int parts[4];
  parts[kPaint] = mesh.material("evo_paint");
  parts[kGlass] = mesh.material("evo_glass");
  parts[kTrim] = mesh.material("evo_trim");
  parts[kLights] = mesh.material("evo_lights");
  SmoothShell shell;
  loftBody(shell, parts);
  addMirrors(shell, parts);
  addWing(shell, parts);
  addScoop(shell, parts);
  addDashboard(shell, parts);
  MeshBuilder body;
  body.materials = mesh.materials;
  body.triangles = mesh.triangles;
  BodyPainter painter{{parts[0], parts[1], parts[2], parts[3]}, {1e9, -1e9}, {1e9, -1e9}};
  for (const SmoothShell::Face& f : shell.faces) {
    if (f.material != parts[kLights]) continue;
    for (int k = 0; k < f.count; ++k) {
      const Vec3& p = shell.points[size_t(f.points[k])];
      if (std::fabs(p.x) > kPlateHalfWidth + 1e-6) continue;
      double* range = p.z < 0.0 ? painter.frontPlate : painter.rearPlate;
      range[0] = std::min(range[0], p.y);
      range[1] = std::max(range[1], p.y);
    }
  }
  emitSmoothShell(shell, kCreaseDegrees, painter, body);
  for (MeshVertex& v : body.vertices) {
    v.position = bodyToFile(v.position);
    v.normal = bodyNormalToFile(v.normal);
  }
  return body;
}
