#pragma once

#include "game/track_line.h"

#include <cstddef>
#include <string>

class PhCar;

// A clean lap, the rule for comparing players beyond the lap timer: it passes
// every point of the centre line in order, each within kCheckpointReach, and
// has no tick with all four wheels off the road. A lap that cuts across the
// infield is timed as any other but is not clean.
constexpr double kCheckpointReach = 15.0;  // m, seen from above
// The surface group of the road (asphalt, kerbs and markings). A wheel in the
// air keeps the road's group: it is off the road only once it touches another.
constexpr int kRoadSurface = 0;

// The judge of one lap, fed once per tick of it. O(1) a tick: the next
// checkpoint only, and the four wheels' surfaces.
struct CleanLapJudge {
  const TrackLine* line = nullptr;
  size_t first = 0;   // the checkpoint at the start line
  size_t passed = 0;  // checkpoints passed in order
  bool offRoad = false;
  int offRoadTick = 0;  // tick of the lap that first had all four wheels off the road
  int ticks = 0;
};

// Before the lap's first tick: the checkpoints start at the centre line's point
// nearest `start` (the start line's middle).
void startCleanLap(CleanLapJudge& judge, const TrackLine& line, const Vec3& start);
// One tick of the lap, the car as its step left it.
void judgeCleanTick(CleanLapJudge& judge, const PhCar& car);
// At the lap's end: true for a clean lap, else false with the reason.
bool lapIsClean(const CleanLapJudge& judge, std::string& why);
