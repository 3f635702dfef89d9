#pragma once

#include "game/laps/ghost_file.h"
#include "game/laps/lap_delta.h"

struct Ghosts;
struct TimingAids;

// A ghost lap as the path it drove with the lap timer's reading at each point:
// the start state (the tick that touched the line, the timer at one tick) and
// then one pose a tick, the timer one tick further each time.
LapPath lapPathOfGhost(const GhostLap& lap);

// The ghosts' best laps as the timing aids' references, taken again whenever
// a class's best lap changes (a new best is always strictly faster).
void takeGhostReferences(TimingAids& aids, const Ghosts& ghosts);
