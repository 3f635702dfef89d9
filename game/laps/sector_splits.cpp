#include "game/laps/sector_splits.h"

#include <cmath>
#include <limits>

namespace {

constexpr float kNoTime = std::numeric_limits<float>::quiet_NaN();
// A gate counts only for a car near the gate's height: a road passing over or
// under it elsewhere does not.
constexpr double kGateHeightLimit = 5.0;

// Unit direction of b - a over the ground; false when they stand on one spot.
bool groundDirection(const Vec3& a, const Vec3& b, Vec3& out) {
  Vec3 d(b.x - a.x, 0.0, b.z - a.z);
  double len = length(d);
  if (!(len > 1e-9)) return false;
  out = d * (1.0 / len);
  return true;
}

// The gate at arc length `s` of a closed line whose cumulative lengths are `at`.
bool gateOnLoop(const std::vector<Vec3>& line, const std::vector<double>& at, double total, double s,
                SplitGate& gate) {
  size_t n = line.size();
  s = std::fmod(s, total);
  if (s < 0.0) s += total;
  size_t i = 0;
  while (i + 1 < n && at[i + 1] <= s) ++i;
  const Vec3& a = line[i];
  const Vec3& b = line[(i + 1) % n];
  double segment = length(b - a);
  double f = segment > 0.0 ? (s - at[i]) / segment : 0.0;
  gate.point = a + (b - a) * f;
  return groundDirection(a, b, gate.forward);
}

}  // namespace

bool splitsFromLapPath(const LapPath& path, float lapTime, SectorSplits& out) {
  size_t n = path.points.size();
  if (n < 3 || path.times.size() != n) return false;
  SectorSplits splits;
  for (int k = 0; k < kSplitCount; ++k) {
    double target = double(lapTime) * double(k + 1) / kSectorCount;
    size_t j = 1;
    while (j + 1 < n && double(path.times[j]) < target) ++j;
    double t0 = path.times[j - 1], t1 = path.times[j];
    double f = t1 > t0 ? (target - t0) / (t1 - t0) : 1.0;
    if (f < 0.0) f = 0.0;
    if (f > 1.0) f = 1.0;
    const Vec3& a = path.points[j - 1];
    const Vec3& b = path.points[j];
    splits.gates[k].point = a + (b - a) * f;
    // Direction over a few ticks either side, steady even where the car crawled.
    size_t lo = j >= 3 ? j - 3 : 0;
    size_t hi = j + 2 < n ? j + 2 : n - 1;
    if (!groundDirection(path.points[lo], path.points[hi], splits.gates[k].forward)) return false;
  }
  splits.valid = true;
  out = splits;
  return true;
}

bool splitsFromCentreLine(const std::vector<Vec3>& line, const Vec3& start, SectorSplits& out) {
  size_t n = line.size();
  if (n < 3) return false;
  std::vector<double> at(n);
  double total = 0.0;
  size_t nearest = 0;
  double nearestSq = std::numeric_limits<double>::infinity();
  for (size_t i = 0; i < n; ++i) {
    at[i] = total;
    total += length(line[(i + 1) % n] - line[i]);
    double dx = line[i].x - start.x, dz = line[i].z - start.z;
    if (dx * dx + dz * dz < nearestSq) {
      nearestSq = dx * dx + dz * dz;
      nearest = i;
    }
  }
  if (!(total > 0.0)) return false;
  SectorSplits splits;
  for (int k = 0; k < kSplitCount; ++k)
    if (!gateOnLoop(line, at, total, at[nearest] + total * double(k + 1) / kSectorCount, splits.gates[k]))
      return false;
  splits.valid = true;
  out = splits;
  return true;
}

bool crossesGate(const SplitGate& gate, const Vec3& from, const Vec3& to) {
  Vec3 a = from - gate.point, b = to - gate.point;
  double sa = a.x * gate.forward.x + a.z * gate.forward.z;
  double sb = b.x * gate.forward.x + b.z * gate.forward.z;
  if (!(sa < 0.0 && sb >= 0.0)) return false;
  // Sideways offset of the crossing point from the gate's centre.
  double f = sa / (sa - sb);
  Vec3 at = a + (b - a) * f;
  double side = std::fabs(at.x * gate.forward.z - at.z * gate.forward.x);
  return side <= kDeltaPathLimit && std::fabs(at.y) <= kGateHeightLimit;
}

SectorTimer::SectorTimer() {
  for (int i = 0; i < kSectorCount; ++i) current[i] = previousBest[i] = best[i] = kNoTime;
}

void startSectorLap(SectorTimer& timer) {
  timer.passed = 0;
  for (float& t : timer.current) t = kNoTime;
}

namespace {

void timeSector(SectorTimer& timer, int sector, float seconds) {
  timer.current[sector] = seconds;
  timer.previousBest[sector] = timer.best[sector];
  if (std::isnan(timer.best[sector]) || seconds < timer.best[sector]) timer.best[sector] = seconds;
  timer.latest = sector;
}

}  // namespace

int passSplits(SectorTimer& timer, const SectorSplits& splits, const Vec3& from, const Vec3& to,
               float lapTime) {
  if (!splits.valid || timer.passed >= kSplitCount) return -1;
  if (!crossesGate(splits.gates[timer.passed], from, to)) return -1;
  int sector = timer.passed;
  timer.splitAt[sector] = lapTime;
  timeSector(timer, sector, sector == 0 ? lapTime : lapTime - timer.splitAt[sector - 1]);
  timer.passed += 1;
  return sector;
}

bool finishSectorLap(SectorTimer& timer, float lapTime) {
  if (timer.passed < kSplitCount) return false;
  timeSector(timer, kSectorCount - 1, lapTime - timer.splitAt[kSplitCount - 1]);
  return true;
}

float idealLap(const SectorTimer& timer) {
  float sum = 0.0f;
  for (float t : timer.best) sum += t;  // a missing sector makes it not a number
  return sum;
}

bool sectorHundredths(const float sectors[kSectorCount], float lapTime, long out[kSectorCount]) {
  for (int i = 0; i < kSectorCount; ++i)
    if (std::isnan(sectors[i])) return false;
  long lap = long(lapTime * 100.0f);  // as the lap display cuts it
  double end = 0.0;
  long before = 0;
  for (int i = 0; i < kSectorCount - 1; ++i) {
    end += double(sectors[i]);
    long at = std::lround(end * 100.0);
    out[i] = at - before;
    before = at;
  }
  out[kSectorCount - 1] = lap - before;
  return true;
}
