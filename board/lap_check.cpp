#include "board/lap_check.h"

#include "game/laps/ghost_car.h"
#include "game/laps/ghost_file.h"
#include "tools/datagen/generator.h"
#include "tools/datagen/track_layout.h"

#include <cmath>
#include <cstring>

namespace {

// A car whose centre is this far beyond the asphalt has all four wheels off it.
constexpr double kCleanMargin = 1.5;  // m
constexpr double kCleanLimit = kRoadHalfWidth + kCleanMargin;

// Distance seen from above from `p` to the centre line near point `i`.
double distanceFromCentre(const TrackLine& line, const Vec3& p, size_t i) {
  double best = 1e300;
  for (long long k : {-1LL, 0LL}) {
    const Vec3& a = line.points[line.wrap(static_cast<long long>(i) + k)];
    const Vec3& b = line.points[line.wrap(static_cast<long long>(i) + k + 1)];
    double dx = b.x - a.x, dz = b.z - a.z;
    double len2 = dx * dx + dz * dz;
    double t = len2 > 0.0 ? ((p.x - a.x) * dx + (p.z - a.z) * dz) / len2 : 0.0;
    t = t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
    double ex = a.x + t * dx - p.x, ez = a.z + t * dz - p.z;
    best = std::fmin(best, std::sqrt(ex * ex + ez * ez));
  }
  return best;
}

// Clean when the car never left the road; otherwise the first tick it did.
void judgeClean(const GhostLap& lap, const TrackLine& line, CheckedLap& out) {
  out.clean = true;
  size_t hint = nearestPoint(line, lap.start.current.position);
  for (size_t k = 0; k < lap.poses.size(); ++k) {
    const Vec3& p = lap.poses[k].position;
    hint = nearestPointNear(line, p, hint, 8, 8);
    if (distanceFromCentre(line, p, hint) > kCleanLimit) {
      out.clean = false;
      out.uncleanWhy = "off the road at tick " + std::to_string(k + 1);
      return;
    }
  }
}

// The sectors the game's timing aids give on the centre line's split points.
bool sectorsOf(const GhostLap& lap, const SectorSplits& splits, float sectors[3]) {
  SectorTimer timer;
  startSectorLap(timer);
  // The timer reads one tick at the step that touched the line, so the k-th
  // step after it starts from k ticks.
  Vec3 from = lap.start.current.position;
  for (size_t k = 0; k < lap.poses.size(); ++k) {
    passSplits(timer, splits, from, lap.poses[k].position, lapTimeOfTicks(uint32_t(k + 1)));
    from = lap.poses[k].position;
  }
  if (!finishSectorLap(timer, lap.lapTime)) return false;
  for (int s = 0; s < kSectorCount; ++s) sectors[s] = timer.current[s];
  return true;
}

}  // namespace

const char* lapClassName(LapClass c) { return c == LapClass::Turbo ? "turbo" : "plain"; }

bool parseLapClass(const std::string& text, LapClass& out) {
  if (text == "plain") out = LapClass::Plain;
  else if (text == "turbo") out = LapClass::Turbo;
  else return false;
  return true;
}

bool claimOfProof(const uint8_t* data, size_t size, const LapClaim& request, LapClaim& out, std::string& why) {
  if (size < kGhostHeaderBytes || std::memcmp(data, "STRVGHST", 8) != 0) {
    why = "not a lap proof";
    return false;
  }
  if (request.generatorVersion != kGeneratorVersion) {
    why = "unknown data set generator version " + std::to_string(request.generatorVersion);
    return false;
  }
  out = request;
  return true;
}

bool checkLap(const uint8_t* data, size_t size, const LapClaim& claim, const CircuitTrack& track, GhostCar& ghost,
              CheckedLap& out, std::string& why) {
  GhostLap lap;
  if (!parseGhost(data, size, track.trackId, lap, why)) return false;
  if (!verifyGhostLap(ghost, lap, track.tree, track.lineA, track.lineB, why)) return false;
  out = CheckedLap();
  out.circuit = claim.circuit;
  out.generatorVersion = claim.generatorVersion;
  out.trackId = lap.trackId;
  out.ticks = uint32_t(lap.inputs.size());
  out.lapTime = lap.lapTime;
  out.lapClass = lap.lapClass;
  if (!sectorsOf(lap, track.splits, out.sectors)) {
    out.clean = false;
    out.uncleanWhy = "misses a sector split";
    return true;
  }
  judgeClean(lap, track.centre, out);
  return true;
}

bool lapTrace(const uint8_t* data, size_t size, uint64_t trackId, int everyTicks, std::vector<TraceSample>& out,
              std::string& why) {
  GhostLap lap;
  if (!parseGhost(data, size, trackId, lap, why)) return false;
  out.clear();
  if (everyTicks < 1) everyTicks = 1;
  double distance = 0.0;
  Vec3 from = lap.start.current.position;
  double windowDistance = 0.0;
  size_t windowTick = 0;
  out.push_back({0.0f, 0.0f, 0.0f});
  for (size_t k = 0; k < lap.poses.size(); ++k) {
    const Vec3& to = lap.poses[k].position;
    distance += length(to - from);
    from = to;
    bool last = k + 1 == lap.poses.size();
    if ((k + 1) % size_t(everyTicks) != 0 && !last) continue;
    // Speed over the window since the previous sample.
    size_t ticksInWindow = k + 1 - windowTick;
    double speed = (distance - windowDistance) * double(kTicksPerSecond) / double(ticksInWindow);
    out.push_back({float(distance), lapTimeOfTicks(uint32_t(k + 1)), float(speed)});
    windowDistance = distance;
    windowTick = k + 1;
  }
  // The start has no window behind it: it takes the first one's speed.
  if (out.size() > 1) out[0].speed = out[1].speed;
  return true;
}
