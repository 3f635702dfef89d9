#include "game/laps/replay_player.h"

#include "game/laps/ghosts.h"
#include "vehicle/car.h"

const GhostLap* lapToReplay(const Ghosts& ghosts, bool turbo) {
  if (ghosts.haveLastLap) return &ghosts.lastLap;
  int c = turbo ? 1 : 0;
  if (ghosts.haveBest[c]) return &ghosts.best[c];
  if (ghosts.haveBest[1 - c]) return &ghosts.best[1 - c];
  return nullptr;
}

void startReplay(ReplayPlayer& player, const GhostLap& lap, CollisionQuadtree* tree) {
  if (!player.ghost) player.ghost = std::make_unique<GhostCar>();
  player.lap = &lap;
  // Also draws it where it starts, until the first tick.
  startGhost(*player.ghost, lap, tree);
}

void stepReplay(ReplayPlayer& player) {
  if (player.ghost) stepGhost(*player.ghost);
}

PhCar* replayCar(const ReplayPlayer& player) { return player.ghost ? player.ghost->car : nullptr; }
