#pragma once

#include "game/laps/ghost_car.h"

#include <memory>

struct Ghosts;

// The replay viewer's car: a recorded lap driven again from its start state in
// a world of its own, so the player's car, world and input stay untouched.
struct ReplayPlayer {
  std::unique_ptr<GhostCar> ghost;  // built when the viewer first opens (4 MB)
  const GhostLap* lap = nullptr;    // the lap being played; the ghosts own it
};

// The lap the viewer plays: the last completed lap, else the best lap of the
// class the car drives in (`turbo`), else that of the other class; null when
// there is none.
const GhostLap* lapToReplay(const Ghosts& ghosts, bool turbo);

// The car at `lap`'s start state on `tree`, drawn there.
void startReplay(ReplayPlayer& player, const GhostLap& lap, CollisionQuadtree* tree);

// One tick of the lap; nothing once it is over.
void stepReplay(ReplayPlayer& player);

// The car being replayed; null before the viewer first opened.
PhCar* replayCar(const ReplayPlayer& player);
