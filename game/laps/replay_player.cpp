#include "game/laps/replay_player.h"

#include "game/laps/ghosts.h"
#include "vehicle/car.h"

const GhostLap* lapToReplay(const Ghosts& ghosts, LapClass drivenClass) {
  if (ghosts.haveLastLap) return &ghosts.lastLap;
  int c = classIndex(drivenClass);
  if (ghosts.haveBest[c]) return &ghosts.best[c];
  if (ghosts.haveBest[1 - c]) return &ghosts.best[1 - c];
  return nullptr;
}

void startReplay(ReplayPlayer& player, Ghosts& ghosts, const GhostLap& lap) {
  player.car = &replayCarOf(ghosts);
  player.lap = &lap;
  // Also draws it where it starts, until the first tick.
  startGhost(*player.car, lap, ghosts.tree);
}

void stepReplay(ReplayPlayer& player) {
  if (player.car != nullptr) stepGhost(*player.car);
}

PhCar* replayCar(const ReplayPlayer& player) { return player.car != nullptr ? player.car->car : nullptr; }
