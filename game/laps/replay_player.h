#pragma once

#include "game/lap_class.h"
#include "game/laps/ghost_car.h"

struct Ghosts;

// The replay viewer's car: a recorded lap driven again from its start state in
// a world of its own, so the player's car, world and input stay untouched. The
// car is the ghosts' replay car (replayCarOf, game/laps/ghosts.h).
struct ReplayPlayer {
  GhostCar* car = nullptr;        // not owned; null before the viewer first opened
  const GhostLap* lap = nullptr;  // the lap being played; the ghosts own it
};

// The lap the viewer plays: the last completed lap, else the best lap of the
// class the car drives in, else that of the other class; null when there is none.
const GhostLap* lapToReplay(const Ghosts& ghosts, LapClass drivenClass);

// The ghosts' replay car at `lap`'s start state on their track, drawn there.
void startReplay(ReplayPlayer& player, Ghosts& ghosts, const GhostLap& lap);

// One tick of the lap; nothing once it is over.
void stepReplay(ReplayPlayer& player);

// The car being replayed; null before the viewer first opened.
PhCar* replayCar(const ReplayPlayer& player);
