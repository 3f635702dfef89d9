#include "tools/datagen/track_layout.h"

#include "tools/datagen/circuit_seed.h"
#include "tools/datagen/noise.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSampleSpacing = 2.0;   // metres between centre-line samples
constexpr double kStartFlat = 90.0;      // metres of level road either side of the start line
constexpr double kStartBlend = 220.0;    // metres over which the road leaves that level
constexpr double kHeightSmoothing = 45.0;  // metres either side averaged into the road height
// Seeded circuits: how many candidate layouts a seed may try, how close to
// the map's edge their control points may reach, and the checks' margins.
constexpr int kMaxCandidates = 400;
constexpr double kMapLimit = 280.0 - kRunoffOuter;  // centre line inside +-this
constexpr double kMinCornerRadius = kRunoffOuter + 1.0;  // the run-off's inner edge never folds
constexpr double kMinLength = 2000.0, kMaxLength = 2950.0;
constexpr double kMinFarthest = 330.0;   // the lap counter re-arms beyond 300 m
constexpr double kSeparateAlong = 120.0;  // parts of the circuit this far apart along it...
constexpr double kSeparateApart = 2.0 * kRunoffOuter + 20.0;  // ...stay this far apart on the map
constexpr double kMaxGrade = 0.05;
constexpr double kConeClearance = 4.0;   // metres from the trackside camera to a start cone
constexpr double kLowestRoad = -6.0;     // the car counts as lost below y = -7
// Around the trackside camera the hills never rise above the nearby road, so
// they cannot hide it.
constexpr double kCameraFlatRadius = 135.0;
constexpr double kCameraFlatBlend = 40.0;

using Point2 = MapPoint;

// Driving order from the start line: the long start straight heading -x, a
// fast left sweeper up the west side, the back straight through the recovery
// point, a chicane, sweepers down the east side, a hairpin in the infield and
// a long right-hander back onto the start straight.
const Point2 kControlPoints[] = {
    {40, -170},   {-40, -170},  {-140, -170}, {-195, -156}, {-232, -112}, {-246, -42},
    {-236, 28},   {-205, 84},   {-160, 114},  {-110.3923, 126.0540}, {kRecoveryX, kRecoveryZ},
    {-31.6077, 139.9460}, {10, 148},  {38, 155},  {62, 145},  {88, 146},    {116, 162},
    {160, 178},   {205, 160},   {232, 115},   {240, 50},    {232, -2},    {200, -30},
    {140, -36},   {80, -20},    {20, -8},     {-40, -22},   {-92, -44},   {-122, -58},
    {-126, -86},  {-100, -102}, {-30, -104},  {60, -106},   {150, -106},  {200, -112},
    {228, -120},  {244, -144},  {232, -166},  {200, -171},  {150, -170},  {100, -170},
};

// Centripetal Catmull-Rom between p1 and p2: no cusps or loops even where
// control points are unevenly spaced.
Point2 catmullRom(Point2 p0, Point2 p1, Point2 p2, Point2 p3, double u) {
  auto knot = [](Point2 a, Point2 b, double t) {
    double d = std::hypot(b.x - a.x, b.z - a.z);
    return t + std::sqrt(std::max(d, 1e-9));
  };
  auto lerp = [](Point2 a, Point2 b, double ta, double tb, double t) {
    double w = (t - ta) / (tb - ta);
    return Point2{a.x + (b.x - a.x) * w, a.z + (b.z - a.z) * w};
  };
  double t0 = 0.0, t1 = knot(p0, p1, t0), t2 = knot(p1, p2, t1), t3 = knot(p2, p3, t2);
  double t = t1 + (t2 - t1) * u;
  Point2 a1 = lerp(p0, p1, t0, t1, t), a2 = lerp(p1, p2, t1, t2, t), a3 = lerp(p2, p3, t2, t3, t);
  Point2 b1 = lerp(a1, a2, t0, t2, t), b2 = lerp(a2, a3, t1, t3, t);
  return lerp(b1, b2, t1, t2, t);
}

constexpr int kSplineSteps = 64;  // dense points per control segment

// The closed spline through the control points, densely sampled.
std::vector<Point2> denseSpline(const std::vector<Point2>& control) {
  std::vector<Point2> dense;
  const int points = int(control.size());
  for (int i = 0; i < points; ++i) {
    Point2 p0 = control[size_t((i + points - 1) % points)];
    Point2 p1 = control[size_t(i)];
    Point2 p2 = control[size_t((i + 1) % points)];
    Point2 p3 = control[size_t((i + 2) % points)];
    for (int s = 0; s < kSplineSteps; ++s) dense.push_back(catmullRom(p0, p1, p2, p3, double(s) / kSplineSteps));
  }
  return dense;
}

// A dense closed line resampled at equal arc lengths, from its first point.
std::vector<Point2> evenCentreLine(const std::vector<Point2>& dense, double& spacing) {
  std::vector<double> arc(dense.size() + 1, 0.0);
  for (size_t i = 0; i < dense.size(); ++i) {
    const Point2& a = dense[i];
    const Point2& b = dense[(i + 1) % dense.size()];
    arc[i + 1] = arc[i] + std::hypot(b.x - a.x, b.z - a.z);
  }
  double total = arc.back();
  int count = int(std::lround(total / kSampleSpacing));
  spacing = total / count;
  std::vector<Point2> even;
  size_t j = 0;
  for (int k = 0; k < count; ++k) {
    double s = k * spacing;
    while (arc[j + 1] < s) ++j;
    double w = (s - arc[j]) / (arc[j + 1] - arc[j]);
    const Point2& a = dense[j];
    const Point2& b = dense[(j + 1) % dense.size()];
    even.push_back({a.x + (b.x - a.x) * w, a.z + (b.z - a.z) * w});
  }
  return even;
}

// Unit forward direction of a heading in degrees, seen from above.
Point2 headingDirection(double degrees) {
  double h = degrees * kPi / 180.0;
  return {-std::sin(h), -std::cos(h)};
}

}  // namespace

double naturalHeight(const TerrainShape& shape, double x, double z) {
  const double* p = shape.phase;
  double h = 1.7 * std::sin(x / 78.0 + 0.4 + p[0]) * std::cos(z / 96.0 - 0.3 + p[1]) +
             1.1 * std::sin((x + z) / 61.0 + 1.0 + p[2]) + 0.6 * std::cos((x - 2.0 * z) / 47.0 + p[3]);
  double edge = std::max(std::fabs(x), std::fabs(z));
  double ring = smoothstep01((edge - 262.0) / 60.0);
  return h + ring * (9.0 + 4.0 * std::sin(x / 37.0 + p[4]) * std::cos(z / 41.0));
}

Vec3 rightOf(const Vec3& tangent) { return Vec3(-tangent.z, 0.0, tangent.x); }

std::vector<Vec3> roadInSight(const TrackLayout& layout) {
  const Vec3 camera = layout.startPosition + kTracksideCameraOffset;
  std::vector<Vec3> points;
  for (size_t i = 0; i < layout.centre.size(); ++i) {
    Vec3 r = rightOf(layout.tangent[i]);
    for (double o : {-kRoadHalfWidth, 0.0, kRoadHalfWidth}) {
      Vec3 p = layout.centre[i] + r * o;
      if (std::hypot(p.x - camera.x, p.z - camera.z) < kSightReach) points.push_back(p);
    }
  }
  return points;
}

namespace {

// Arc length of a closed line.
double loopLength(const std::vector<Point2>& line) {
  double total = 0.0;
  for (size_t i = 0; i < line.size(); ++i) {
    const Point2& a = line[i];
    const Point2& b = line[(i + 1) % line.size()];
    total += std::hypot(b.x - a.x, b.z - a.z);
  }
  return total;
}

TrackLayout layoutFromLine(const std::vector<Point2>& dense, const TerrainShape& terrain) {
  TrackLayout layout;
  layout.terrain = terrain;
  std::vector<Point2> line = evenCentreLine(dense, layout.spacing);
  const int n = int(line.size());
  layout.length = layout.spacing * n;

  // Road height: the hills under the line, averaged along it so the road rises
  // and falls gently, and level around the start line.
  std::vector<double> raw(static_cast<size_t>(n)), smooth(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) raw[size_t(i)] = naturalHeight(terrain, line[size_t(i)].x, line[size_t(i)].z);
  const int reach = int(kHeightSmoothing / layout.spacing);
  for (int i = 0; i < n; ++i) {
    double sum = 0.0, weight = 0.0;
    for (int k = -reach; k <= reach; ++k) {
      double w = 1.0 - std::fabs(double(k)) / (reach + 1);
      sum += w * raw[size_t((i + k + n) % n)];
      weight += w;
    }
    smooth[size_t(i)] = sum / weight;
  }
  const double startY = smooth[0];
  for (int i = 0; i < n; ++i) {
    double s = std::min(i, n - i) * layout.spacing;
    double w = smoothstep01((s - kStartFlat) / kStartBlend);
    smooth[size_t(i)] = startY + (smooth[size_t(i)] - startY) * w;
  }

  for (int i = 0; i < n; ++i) {
    const Point2& a = line[size_t((i + n - 1) % n)];
    const Point2& b = line[size_t((i + 1) % n)];
    Vec3 t(b.x - a.x, 0.0, b.z - a.z);
    normalizeGuarded(t);
    layout.tangent.push_back(t);
    layout.centre.push_back(Vec3(line[size_t(i)].x, smooth[size_t(i)], line[size_t(i)].z));
  }
  for (int i = 0; i < n; ++i) {
    const Vec3& a = layout.tangent[size_t((i + n - 1) % n)];
    const Vec3& b = layout.tangent[size_t((i + 1) % n)];
    layout.curvature.push_back(cross(a, b).y / (2.0 * layout.spacing));
  }

  // Lift or lower everything so the road under the recovery point is where a
  // dropped car expects it.
  CentreHit hit = nearestCentre(layout, kRecoveryX, kRecoveryZ);
  layout.heightOffset = kRecoveryRoadY - hit.roadY;
  for (Vec3& c : layout.centre) c.y += layout.heightOffset;

  layout.startPosition = layout.centre[0];
  const Vec3& t0 = layout.tangent[0];
  layout.startHeading = float(std::atan2(-t0.x, -t0.z) * 180.0 / kPi);
  return layout;
}

}  // namespace

float recoveryHeading(const TrackLayout& layout) { return layout.startHeading + 170.0f; }

std::string checkLayout(const TrackLayout& l) {
  const int n = int(l.centre.size());
  if (n < 10) return "too few samples";
  if (l.length < kMinLength || l.length > kMaxLength) return "length outside 2-3 km";
  double turning = 0.0;
  for (int i = 0; i < n; ++i) {
    const Vec3& c = l.centre[size_t(i)];
    if (std::fabs(c.x) > kMapLimit || std::fabs(c.z) > kMapLimit) return "leaves the map";
    if (std::fabs(l.curvature[size_t(i)]) * kMinCornerRadius > 1.0) return "corner too tight";
    const Vec3& next = l.centre[size_t((i + 1) % n)];
    if (std::fabs(next.y - c.y) / l.spacing > kMaxGrade) return "too steep";
    if (c.y < kLowestRoad) return "too low";
    const Vec3& t = l.tangent[size_t(i)];
    const Vec3& u = l.tangent[size_t((i + 1) % n)];
    turning += std::atan2(cross(t, u).y, dot(t, u));
  }
  if (std::fabs(std::fabs(turning) - 2.0 * kPi) > 0.1) return "loops over itself";
  const int reach = int(kSeparateAlong / l.spacing);
  for (int i = 0; i < n; i += 2) {
    for (int j = i + reach; j < n; j += 2) {
      if (n - (j - i) < reach) break;
      const Vec3& a = l.centre[size_t(i)];
      const Vec3& b = l.centre[size_t(j)];
      if (std::hypot(a.x - b.x, a.z - b.z) < kSeparateApart) return "parts too close";
    }
  }
  // The start: a straight 60 m either side of the line, the line's ends 20 m
  // ahead of the restart spot.
  for (int k = -30; k <= 30; ++k)
    if (std::fabs(l.curvature[size_t((k + n) % n)]) > 1e-3) return "start not straight";
  Point2 d = headingDirection(l.startHeading + 90.0);
  Vec3 a = l.startPosition + Vec3(d.x * kRoadHalfWidth, 0.0, d.z * kRoadHalfWidth);
  Vec3 b = l.startPosition - Vec3(d.x * kRoadHalfWidth, 0.0, d.z * kRoadHalfWidth);
  // The cones stand at the line's ends; one right before the trackside
  // camera would fill its picture.
  const Vec3 camera = l.startPosition + kTracksideCameraOffset;
  for (const Vec3& cone : {a, b})
    if (std::hypot(cone.x - camera.x, cone.z - camera.z) < kConeClearance) return "cone in front of the camera";
  double farthest = 0.0;
  for (const Vec3& c : l.centre) {
    Vec3 ab = b - a;
    double t = std::min(1.0, std::max(0.0, dot(c - a, ab) / dot(ab, ab)));
    farthest = std::max(farthest, length(c - (a + ab * t)));
  }
  if (farthest < kMinFarthest) return "nothing far from the start line";
  CentreHit hit = nearestCentre(l, kRecoveryX, kRecoveryZ);
  if (hit.distance > 0.5) return "recovery point off the road";
  Point2 r = headingDirection(recoveryHeading(l));
  const Vec3& t = l.tangent[size_t(hit.segment)];
  if (r.x * t.x + r.z * t.z < std::cos(2.0 * kPi / 180.0)) return "recovery heading across the road";
  if (std::fabs(l.curvature[size_t(hit.segment)]) > 1.0 / 150.0) return "recovery point in a corner";
  return "";
}

TrackLayout buildTrackLayout(const CircuitChoice& choice) {
  if (choice.seeded) {
    for (int candidate = 0; candidate < kMaxCandidates; ++candidate) {
      Rng rng(uint32_t(hashUnit(int(choice.seed), candidate, 0x5eedu) * 16777216.0) ^ (choice.seed << 8));
      std::vector<Point2> dense;
      if (!seededCentreLine(rng, {kRecoveryX, kRecoveryZ}, dense)) continue;
      if (loopLength(dense) < kMinLength || loopLength(dense) > kMaxLength) continue;
      TerrainShape terrain;
      for (double& p : terrain.phase) p = rng.range(0.0, 2.0 * kPi);
      TrackLayout layout = layoutFromLine(dense, terrain);
      if (!checkLayout(layout).empty()) continue;
      layout.candidate = candidate;
      layout.scenerySeed = rng.next();
      return layout;
    }
  }
  TrackLayout layout = layoutFromLine(
      denseSpline(std::vector<Point2>(std::begin(kControlPoints), std::end(kControlPoints))), TerrainShape());
  layout.scenerySeed = kDefaultScenerySeed;
  return layout;
}

CentreHit nearestCentre(const TrackLayout& layout, double x, double z) {
  CentreHit best;
  best.distance = 1e30;
  const int n = int(layout.centre.size());
  for (int i = 0; i < n; ++i) {
    const Vec3& a = layout.centre[size_t(i)];
    const Vec3& b = layout.centre[size_t((i + 1) % n)];
    double dx = b.x - a.x, dz = b.z - a.z;
    double len2 = dx * dx + dz * dz;
    double t = len2 > 0.0 ? ((x - a.x) * dx + (z - a.z) * dz) / len2 : 0.0;
    t = std::min(1.0, std::max(0.0, t));
    double px = a.x + dx * t, pz = a.z + dz * t;
    double d = std::hypot(x - px, z - pz);
    if (d < best.distance) {
      best.distance = d;
      best.segment = i;
      best.t = t;
      best.side = -dz * (x - px) + dx * (z - pz);
      best.roadY = a.y + (b.y - a.y) * t;
    }
  }
  best.side = best.side >= 0.0 ? 1.0 : -1.0;
  return best;
}

double ribbonHeight(double roadY, double offset) {
  double d = std::fabs(offset);
  if (d <= kKerbOuter) return roadY;
  return roadY - kRunoffDrop * (d - kKerbOuter) / (kRunoffOuter - kKerbOuter);
}

double groundHeight(const TrackLayout& layout, double x, double z) {
  CentreHit hit = nearestCentre(layout, x, z);
  double base = hit.roadY - kRunoffDrop;
  double hills = naturalHeight(layout.terrain, x, z) + layout.heightOffset;
  const Vec3 camera = layout.startPosition + kTracksideCameraOffset;
  double flat = 1.0 - smoothstep01((std::hypot(x - camera.x, z - camera.z) - kCameraFlatRadius) / kCameraFlatBlend);
  hills -= flat * std::max(0.0, hills - base);
  double w = smoothstep01((hit.distance - kRunoffOuter) / kTerrainBlend);
  double sink = 0.4 * (1.0 - smoothstep01((hit.distance - (kRunoffOuter - 4.0)) / 4.0));
  return base + (hills - base) * w - sink;
}
