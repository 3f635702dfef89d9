#pragma once

#include "game/laps/ghost_file.h"
#include "game/laps/lap_delta.h"

struct Ghosts;
struct TimingAids;

// A ghost lap as the path it drove with the lap timer's reading at each point:
// the start state (the tick that touched the line, the timer at one tick) and
// then one pose a tick, the timer one tick further each time.
LapPath lapPathOfGhost(const GhostLap& lap);

// The ghosts' chosen laps (chosenLap: the player's best, or the board lap the
// ghost shows) as the timing aids' references, taken again whenever a class's
// lap changes to one of another time.
void takeGhostReferences(TimingAids& aids, const Ghosts& ghosts);
