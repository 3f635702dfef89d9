#include "game/laps/lap_delta.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kNotANumber = std::numeric_limits<double>::quiet_NaN();

// Share of each tick's raw delta taken into the smoothed one: about a tenth
// of a second to settle, enough to hide the projection's jitter.
constexpr double kSmoothing = 0.25;
// The display moves only once the smoothed delta is this far (s) from what it
// shows, so the hundredths do not flicker between two values.
constexpr double kHysteresis = 0.0075;

// Closest point of segment a-b to p as a fraction along it, and its distance.
double closestFraction(const Vec3& a, const Vec3& b, const Vec3& p, double& distance) {
  Vec3 ab = b - a;
  double lengthSq = dot(ab, ab);
  double t = lengthSq > 0.0 ? dot(p - a, ab) / lengthSq : 0.0;
  if (t < 0.0) t = 0.0;
  if (t > 1.0) t = 1.0;
  distance = length(a + ab * t - p);
  return t;
}

}  // namespace

void resetDelta(DeltaTracker& tracker) { tracker = DeltaTracker{}; }

double projectDelta(DeltaTracker& tracker, const LapPath& path, const Vec3& position, float lapTime) {
  size_t n = path.points.size();
  if (n < 2 || path.times.size() != n) return kNotANumber;

  // Forward from the last projection, never behind it, up to the search reach.
  size_t bestSegment = tracker.segment;
  double bestFraction = 0.0;
  double bestDistance = std::numeric_limits<double>::infinity();
  double reach = 0.0;
  for (size_t s = tracker.segment; s + 1 < n && reach <= kDeltaSearchAhead; ++s) {
    double d = 0.0;
    double t = closestFraction(path.points[s], path.points[s + 1], position, d);
    if (s == tracker.segment && t < tracker.fraction) {
      t = tracker.fraction;
      d = length(path.points[s] + (path.points[s + 1] - path.points[s]) * t - position);
    }
    // Ties keep the earlier point: a car standing still is behind its reference.
    if (d < bestDistance) {
      bestDistance = d;
      bestSegment = s;
      bestFraction = t;
    }
    reach += length(path.points[s + 1] - path.points[s]);
  }
  if (!(bestDistance <= kDeltaPathLimit)) return kNotANumber;
  tracker.segment = bestSegment;
  tracker.fraction = bestFraction;
  double t0 = path.times[bestSegment], t1 = path.times[bestSegment + 1];
  return double(lapTime) - (t0 + (t1 - t0) * bestFraction);
}

double updateDelta(DeltaTracker& tracker, const LapPath& path, const Vec3& position, float lapTime) {
  double raw = projectDelta(tracker, path, position, lapTime);
  if (std::isnan(raw)) {
    tracker.onPath = false;
    return kNotANumber;
  }
  if (!tracker.onPath) {
    tracker.smoothed = raw;
    tracker.shown = float(std::round(raw * 100.0) / 100.0);
    tracker.onPath = true;
  } else {
    tracker.smoothed += (raw - tracker.smoothed) * kSmoothing;
  }
  if (std::fabs(tracker.smoothed - double(tracker.shown)) > kHysteresis)
    tracker.shown = float(std::round(tracker.smoothed * 100.0) / 100.0);
  return tracker.smoothed;
}
