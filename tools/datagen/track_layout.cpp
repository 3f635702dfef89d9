#include "tools/datagen/track_layout.h"

#include "tools/datagen/noise.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSampleSpacing = 2.0;   // metres between centre-line samples
constexpr double kStartFlat = 90.0;      // metres of level road either side of the start line
constexpr double kStartBlend = 220.0;    // metres over which the road leaves that level
constexpr double kHeightSmoothing = 45.0;  // metres either side averaged into the road height

struct Point2 {
  double x, z;
};

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
constexpr int kControlCount = int(sizeof(kControlPoints) / sizeof(kControlPoints[0]));

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

// The closed spline, densely sampled, then resampled at equal arc lengths.
std::vector<Point2> evenCentreLine(double& spacing) {
  std::vector<Point2> dense;
  constexpr int kSteps = 64;
  for (int i = 0; i < kControlCount; ++i) {
    Point2 p0 = kControlPoints[(i + kControlCount - 1) % kControlCount];
    Point2 p1 = kControlPoints[i];
    Point2 p2 = kControlPoints[(i + 1) % kControlCount];
    Point2 p3 = kControlPoints[(i + 2) % kControlCount];
    for (int s = 0; s < kSteps; ++s) dense.push_back(catmullRom(p0, p1, p2, p3, double(s) / kSteps));
  }
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

}  // namespace

double naturalHeight(double x, double z) {
  double h = 1.7 * std::sin(x / 78.0 + 0.4) * std::cos(z / 96.0 - 0.3) +
             1.1 * std::sin((x + z) / 61.0 + 1.0) + 0.6 * std::cos((x - 2.0 * z) / 47.0);
  double edge = std::max(std::fabs(x), std::fabs(z));
  double ring = smoothstep01((edge - 262.0) / 60.0);
  return h + ring * (9.0 + 4.0 * std::sin(x / 37.0) * std::cos(z / 41.0));
}

Vec3 rightOf(const Vec3& tangent) { return Vec3(-tangent.z, 0.0, tangent.x); }

TrackLayout buildTrackLayout() {
  TrackLayout layout;
  std::vector<Point2> line = evenCentreLine(layout.spacing);
  const int n = int(line.size());
  layout.length = layout.spacing * n;

  // Road height: the hills under the line, averaged along it so the road rises
  // and falls gently, and level around the start line.
  std::vector<double> raw(static_cast<size_t>(n)), smooth(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) raw[size_t(i)] = naturalHeight(line[size_t(i)].x, line[size_t(i)].z);
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
  double hills = naturalHeight(x, z) + layout.heightOffset;
  double w = smoothstep01((hit.distance - kRunoffOuter) / kTerrainBlend);
  double sink = 0.4 * (1.0 - smoothstep01((hit.distance - (kRunoffOuter - 4.0)) / 4.0));
  return base + (hills - base) * w - sink;
}
