#include "game/track_line.h"

#include "app/text_lines.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

// Curvature is measured over a chord of this many points either side, so the
// rounding of a sampled line does not turn into steering noise.
constexpr int kCurvatureReach = 3;

double horizontalDistanceSq(const Vec3& a, const Vec3& b) {
  double dx = a.x - b.x, dz = a.z - b.z;
  return dx * dx + dz * dz;
}

// Signed curvature of the circle through a, b and c seen from above (x, z),
// positive when the path a -> b -> c turns left (toward -x when heading -z).
double circleCurvature(const Vec3& a, const Vec3& b, const Vec3& c) {
  double abx = b.x - a.x, abz = b.z - a.z;
  double bcx = c.x - b.x, bcz = c.z - b.z;
  double acx = c.x - a.x, acz = c.z - a.z;
  double cross = abx * bcz - abz * bcx;
  double lengths = std::sqrt((abx * abx + abz * abz) * (bcx * bcx + bcz * bcz) * (acx * acx + acz * acz));
  if (lengths <= 0.0) return 0.0;
  // With y up, a left turn seen from above has a negative x/z cross product.
  return -2.0 * cross / lengths;
}

bool parseNumber(const char*& p, double& out) {
  while (*p == ' ' || *p == '\t') ++p;
  if (*p == '\0') return false;
  char* end = nullptr;
  errno = 0;
  out = std::strtod(p, &end);
  if (end == p || errno == ERANGE || !std::isfinite(out)) return false;
  p = end;
  return true;
}

}  // namespace

size_t TrackLine::wrap(long long i) const {
  long long n = (long long)points.size();
  long long r = i % n;
  return size_t(r < 0 ? r + n : r);
}

bool parseTrackLine(const uint8_t* data, size_t size, TrackLine& out, int& badLine,
                    std::string& why) {
  TrackLine line;
  std::vector<TextLine> lines;
  if (!splitTextLines(data, size, lines, badLine, why)) return false;
  for (const TextLine& textLine : lines) {
    const std::string& text = textLine.text;
    if (text.find_first_not_of(" \t\r") == std::string::npos) continue;

    const char* p = text.c_str();
    Vec3 v;
    if (!parseNumber(p, v.x) || !parseNumber(p, v.y) || !parseNumber(p, v.z) ||
        text.find_first_not_of(" \t\r", size_t(p - text.c_str())) != std::string::npos) {
      badLine = textLine.number;
      why = "expected three finite numbers x y z";
      return false;
    }
    if (!line.points.empty() && horizontalDistanceSq(v, line.points.back()) == 0.0) {
      badLine = textLine.number;
      why = "repeats the previous point";
      return false;
    }
    line.points.push_back(v);
  }
  if (line.points.size() < kMinTrackLinePoints) {
    why = "has fewer than " + std::to_string(kMinTrackLinePoints) + " points";
    return false;
  }

  size_t n = line.points.size();
  line.distance.resize(n);
  double s = 0.0;
  for (size_t i = 0; i < n; ++i) {
    line.distance[i] = s;
    s += std::sqrt(horizontalDistanceSq(line.points[i], line.points[(i + 1) % n]));
  }
  line.length = s;
  line.curvature.resize(n);
  for (size_t i = 0; i < n; ++i)
    line.curvature[i] = circleCurvature(line.points[line.wrap(long(i) - kCurvatureReach)],
                                        line.points[i],
                                        line.points[line.wrap(long(i) + kCurvatureReach)]);
  out = std::move(line);
  return true;
}

size_t nearestPoint(const TrackLine& line, const Vec3& p) {
  size_t best = 0;
  double bestSq = horizontalDistanceSq(line.points[0], p);
  for (size_t i = 1; i < line.size(); ++i) {
    double d = horizontalDistanceSq(line.points[i], p);
    if (d < bestSq) {
      bestSq = d;
      best = i;
    }
  }
  return best;
}

size_t nearestPointNear(const TrackLine& line, const Vec3& p, size_t hint, int behind, int ahead) {
  size_t best = hint;
  double bestSq = horizontalDistanceSq(line.points[hint], p);
  for (long long k = -behind; k <= ahead; ++k) {
    size_t i = line.wrap((long long)hint + k);
    double d = horizontalDistanceSq(line.points[i], p);
    if (d < bestSq) {
      bestSq = d;
      best = i;
    }
  }
  return best;
}
