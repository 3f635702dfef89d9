#pragma once

#include "physics/vec3.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The circuit's centre line as a closed loop of points in driving direction,
// with what the autopilot needs to look ahead along it.
struct TrackLine {
  std::vector<Vec3> points;
  std::vector<double> distance;   // m along the loop from point 0 to each point
  std::vector<double> curvature;  // 1/m, seen from above, positive turning left
  double length = 0.0;            // m, once round

  size_t size() const { return points.size(); }
  size_t wrap(long long i) const;
};

// The fewest points that make a loop worth driving.
constexpr size_t kMinTrackLinePoints = 8;

// Parses the text form: one `x y z` point a line, `#` comments and blank lines
// allowed. False with the 1-based line number and the reason on a malformed
// line, a non-finite number, too few points or two points at one place.
bool parseTrackLine(const uint8_t* data, size_t size, TrackLine& out, int& badLine,
                    std::string& why);

// Index of the point nearest to `p` seen from above, searched over the whole loop.
size_t nearestPoint(const TrackLine& line, const Vec3& p);

// The same, searched only from `hint` - `behind` to `hint` + `ahead`: cheap
// tracking of a car that moves a few points per tick.
size_t nearestPointNear(const TrackLine& line, const Vec3& p, size_t hint, int behind, int ahead);
