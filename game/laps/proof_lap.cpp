#include "game/laps/proof_lap.h"

#include "vehicle/car.h"

void setProofCourse(ProofCourse& course, const TrackLine& line, const Vec3& start) {
  course.line = &line;
  course.start = start;
  course.splits = SectorSplits();
  splitsFromCentreLine(line.points, start, course.splits);
}

void startWatchedLap(ProofLapWatch& watch, const ProofCourse& course) {
  startSectorLap(watch.sectors);
  startCleanLap(watch.judge, *course.line, course.start);
}

void watchLapTick(ProofLapWatch& watch, const ProofCourse& course, const PhCar& car, const Vec3& from,
                  float lapTimeBefore) {
  passSplits(watch.sectors, course.splits, from, car.current.position, lapTimeBefore);
  judgeCleanTick(watch.judge, car);
}

void finishWatchedLap(ProofLapWatch& watch, const PhCar& car, float lapTime, float sectors[kSectorCount],
                      bool& clean, std::string& notCleanReason) {
  judgeCleanTick(watch.judge, car);
  finishSectorLap(watch.sectors, lapTime);
  for (int k = 0; k < kSectorCount; ++k) sectors[k] = watch.sectors.current[k];
  clean = lapIsClean(watch.judge, notCleanReason);
}
