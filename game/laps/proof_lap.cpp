#include "game/laps/proof_lap.h"

#include "game/tick.h"
#include "vehicle/car.h"

namespace {

// A course not yet set has no centre line: its laps are not clean and have no
// sectors.
const TrackLine& lineOf(const ProofCourse& course) {
  static const TrackLine none;
  return course.line != nullptr ? *course.line : none;
}

}  // namespace

void setProofCourse(ProofCourse& course, const TrackLine& line, const Vec3& start) {
  course.line = &line;
  course.start = start;
  course.splits = SectorSplits();
  splitsFromCentreLine(line.points, start, course.splits);
}

void startWatchedLap(ProofLapWatch& watch, const ProofCourse& course) {
  startSectorLap(watch.sectors);
  startCleanLap(watch.judge, lineOf(course), course.start);
  // The timer starts from 0 on the touch and counts that tick too.
  watch.lapTime = 0.0f + kTickSeconds;
}

void watchLapTick(ProofLapWatch& watch, const ProofCourse& course, const PhCar& car, const Vec3& from) {
  passSplits(watch.sectors, course.splits, from, car.current.position, watch.lapTime);
  judgeCleanTick(watch.judge, car);
  watch.lapTime += kTickSeconds;
}

void finishWatchedLap(ProofLapWatch& watch, const PhCar& car, float lapTime, float sectors[kSectorCount],
                      bool& clean, std::string& notCleanReason) {
  judgeCleanTick(watch.judge, car);
  finishSectorLap(watch.sectors, lapTime);
  for (int k = 0; k < kSectorCount; ++k) sectors[k] = watch.sectors.current[k];
  clean = lapIsClean(watch.judge, notCleanReason);
}
