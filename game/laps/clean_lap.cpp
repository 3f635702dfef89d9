#include "game/laps/clean_lap.h"

#include "vehicle/car.h"

#include <cstdio>

namespace {

constexpr double kReachSq = kCheckpointReach * kCheckpointReach;
constexpr double kTicksPerSecond = 75.0;

bool allWheelsOffRoad(const PhCar& car) {
  for (const CarWheel& w : car.wheels)
    if (w.surface == kRoadSurface) return false;
  return true;
}

}  // namespace

void startCleanLap(CleanLapJudge& judge, const TrackLine& line, const Vec3& start) {
  judge = CleanLapJudge();
  judge.line = &line;
  if (line.size() > 0) judge.first = nearestPoint(line, start);
}

void judgeCleanTick(CleanLapJudge& judge, const PhCar& car) {
  ++judge.ticks;
  if (!judge.offRoad && allWheelsOffRoad(car)) {
    judge.offRoad = true;
    judge.offRoadTick = judge.ticks;
  }
  const TrackLine& line = *judge.line;
  const Vec3& p = car.current.position;
  // The points lie a few metres apart: one tick may pass several.
  while (judge.passed < line.size()) {
    const Vec3& c = line.points[line.wrap((long long)(judge.first + judge.passed))];
    double dx = c.x - p.x, dz = c.z - p.z;
    if (dx * dx + dz * dz > kReachSq) break;
    ++judge.passed;
  }
}

bool lapIsClean(const CleanLapJudge& judge, std::string& why) {
  char text[96];
  if (judge.line == nullptr || judge.line->size() == 0) {
    why = "the track has no centre line";
    return false;
  }
  if (judge.offRoad) {
    std::snprintf(text, sizeof(text), "all four wheels off the road %.2f s into the lap",
                  judge.offRoadTick / kTicksPerSecond);
    why = text;
    return false;
  }
  if (judge.passed < judge.line->size()) {
    std::snprintf(text, sizeof(text), "missed checkpoint %zu of %zu", judge.passed + 1, judge.line->size());
    why = text;
    return false;
  }
  why.clear();
  return true;
}
