#pragma once

#include "game/laps/lap_delta.h"
#include "physics/vec3.h"

#include <vector>

// A lap in three sectors, split at two gates across the track.
constexpr int kSectorCount = 3;
constexpr int kSplitCount = kSectorCount - 1;

// A line across the track at `point`, square to the driving direction
// `forward` (unit, horizontal). A car passes it going forward within
// kDeltaPathLimit of the point.
struct SplitGate {
  Vec3 point{0.0, 0.0, 0.0};
  Vec3 forward{0.0, 0.0, -1.0};
};

struct SectorSplits {
  SplitGate gates[kSplitCount];
  bool valid = false;
};

// Where a reference lap passed one third and two thirds of its lap time
// `lapTime` (s). False for a path too short to give a direction.
bool splitsFromLapPath(const LapPath& path, float lapTime, SectorSplits& out);

// One third and two thirds of the way round a closed centre line (points in
// driving direction), measured from the point of the line nearest `start`.
// False for fewer than three points.
bool splitsFromCentreLine(const std::vector<Vec3>& line, const Vec3& start, SectorSplits& out);

// Whether the move from `from` to `to` passes the gate forward.
bool crossesGate(const SplitGate& gate, const Vec3& from, const Vec3& to);

// Sector times of the running lap and the session's best sectors. Times in
// seconds of the lap timer; a sector not (yet) timed is not a number.
struct SectorTimer {
  int passed = 0;                      // gates passed in the running lap, in order
  float splitAt[kSplitCount] = {};     // lap timer at each gate passed
  float current[kSectorCount];         // this lap's sectors so far
  float previousBest[kSectorCount];    // the best before the latest of each sector
  float best[kSectorCount];            // session bests
  int latest = -1;                     // sector timed last, -1 for none yet

  SectorTimer();
};

// A new lap begins: no gate passed, no sector of it timed.
void startSectorLap(SectorTimer& timer);

// One tick of a running lap: the car moved from `from` to `to` and the lap timer
// read `lapTime` before this tick. Returns the sector this tick completed (0
// or 1), or -1.
int passSplits(SectorTimer& timer, const SectorSplits& splits, const Vec3& from, const Vec3& to,
               float lapTime);

// The running lap completed in `lapTime`: the last sector is timed when both
// gates were passed in order. True when all three sectors of the lap were timed.
bool finishSectorLap(SectorTimer& timer, float lapTime);

// The sum of the best sectors; not a number until each has been timed.
float idealLap(const SectorTimer& timer);

// The three sectors as hundredths that add up to the lap as the display reads it
// (`lapTime` truncated to hundredths): each rounded at its end point, the last
// taking what is left. False when a sector is missing.
bool sectorHundredths(const float sectors[kSectorCount], float lapTime, long out[kSectorCount]);
