#include "game/laps/timing_ghosts.h"

#include "game/game_state.h"
#include "game/laps/ghosts.h"
#include "game/laps/timing_aids.h"

LapPath lapPathOfGhost(const GhostLap& lap) {
  LapPath path;
  path.points.reserve(lap.poses.size() + 1);
  path.times.reserve(lap.poses.size() + 1);
  // The timer adds each tick in single precision, as lapTimeOfTicks does.
  float timer = kTickSeconds;
  path.points.push_back(lap.start.current.position);
  path.times.push_back(timer);
  // The last pose touches the line again: its time runs on past the lap's, as
  // the timer would, so the final stretch is measured like the others.
  for (const GhostPose& pose : lap.poses) {
    timer += kTickSeconds;
    path.points.push_back(pose.position);
    path.times.push_back(timer);
  }
  return path;
}

void takeGhostReferences(TimingAids& aids, const Ghosts& ghosts) {
  if (!aids.followGhosts) return;
  for (LapClass lapClass : kLapClasses) {
    int c = classIndex(lapClass);
    if (!ghosts.haveBest[c]) continue;
    const GhostLap& lap = ghosts.best[c];
    if (!aids.references[c].points.empty() && lap.lapTime == aids.referenceLapTimes[c]) continue;
    setTimingReference(aids, lapClass, lapPathOfGhost(lap), lap.lapTime);
  }
}
