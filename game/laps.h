#pragma once

#include "game/game_state.h"
#include "game/lap_event.h"

// Half the start line's length: its cones stand this far either side of the
// start position, across the start heading.
constexpr double kStartLineHalfWidth = 6.0;
// Passing closer than this to the line touches it.
constexpr double kLineTouchDistance = 2.0;
// A touch counts again only after the car has been this far from the line.
constexpr double kLineRearmDistance = 300.0;

// The two cone positions of the start line from the start position and heading.
void computeStartLine(GameState& state);

// One driving tick of lap timing for the car at `position`: the turbo marks the
// lap as a turbo lap, the best time shown follows the lap's class, a touch of
// the line completes the running lap (into the best times) and starts the next.
LapEvent timeLap(GameState& state, const Vec3& position, bool turboOn);

// Restart and recovery: no lap runs, and the line counts at the next touch.
void stopLap(GameState& state);
