#pragma once

#include "game/laps/clean_lap.h"
#include "game/laps/sector_splits.h"
#include "game/track_line.h"

#include <string>

class PhCar;

// What a proven lap is measured against: the centre line (the clean-lap
// checkpoints) and the sector split points one and two thirds along it from
// the start. The same on every machine, whatever ghost a player has.
struct ProofCourse {
  const TrackLine* line = nullptr;  // not owned; none or empty: no sectors, no clean laps
  Vec3 start{0.0, 0.0, 0.0};        // the start position, on the start line
  SectorSplits splits;
};

// Sets the course's start and split points on `line`.
void setProofCourse(ProofCourse& course, const TrackLine& line, const Vec3& start);

// The measures of one lap as it is driven: sector times and cleanliness. The
// game's recorder and the verifier feed it the same ticks.
struct ProofLapWatch {
  SectorTimer sectors;
  CleanLapJudge judge;
  float lapTime = 0.0f;  // s, as the lap timer reads it after the tick watched last
};

// The tick whose step touched the line and started the lap.
void startWatchedLap(ProofLapWatch& watch, const ProofCourse& course);
// A later tick of the lap that did not touch the line: the car moved from
// `from` to where it stands.
void watchLapTick(ProofLapWatch& watch, const ProofCourse& course, const PhCar& car, const Vec3& from);
// The tick that touched the line again and completed the lap in `lapTime`.
// Gives the three sector times (NaN for one not timed) and whether it is clean.
void finishWatchedLap(ProofLapWatch& watch, const PhCar& car, float lapTime, float sectors[kSectorCount],
                      bool& clean, std::string& notCleanReason);
