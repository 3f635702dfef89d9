#pragma once

#include "physics/vec3.h"

#include <cstddef>
#include <vector>

// A reference lap as the path it drove: one point a tick with the lap timer's
// reading there (seconds), in driving order.
struct LapPath {
  std::vector<Vec3> points;
  std::vector<float> times;
};

// Farther than this from the reference path (m), the car is somewhere the
// reference never was: no delta is shown.
constexpr double kDeltaPathLimit = 15.0;

// How far ahead along the path (m) one tick's search reaches; more than a car
// moves in a tick, less than any stretch that crosses back over the path.
constexpr double kDeltaSearchAhead = 40.0;

// The live difference to a reference lap, followed tick by tick. The car is
// projected onto the reference path, never backwards along it, so where the
// path crosses itself the projection stays on the stretch being driven.
struct DeltaTracker {
  size_t segment = 0;     // path segment the car was last projected onto
  double fraction = 0.0;  // 0..1 along that segment
  bool onPath = false;    // false before the lap starts and while off the path
  double smoothed = 0.0;  // s, filtered delta while on the path
  float shown = 0.0f;     // s, the hundredths on display (with hysteresis)
};

// Back to the path's start: a new lap begins.
void resetDelta(DeltaTracker& tracker);

// The raw delta of one tick: the car at `position` with the lap timer at
// `lapTime`, less the reference's time at the same point of its path. Not a
// number when the car is more than kDeltaPathLimit from the path (the
// projection then holds where it was).
double projectDelta(DeltaTracker& tracker, const LapPath& path, const Vec3& position, float lapTime);

// One tick of the displayed delta: projects, then smooths. Returns the
// smoothed delta in seconds, not a number off the path (the smoothing starts
// afresh when the car comes back, so a stale value is never shown).
double updateDelta(DeltaTracker& tracker, const LapPath& path, const Vec3& position, float lapTime);
