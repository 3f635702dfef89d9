#pragma once

#include "game/game_state.h"
#include "game/laps.h"

// The game update, free of GL and SDL: the shell calls it from its main loop
// and the headless runner drives Tick directly.

// One pass of the main loop before drawing. The shell keeps the frame clock and
// the run statistics around it and hands over the frame interval (seconds since
// the previous update started). Runs as many fixed ticks as the accumulated
// time allows, places the cameras, the drawn car pose and the shadow, recovers
// a lost car, sets the sounds and samples the trip statistics. Returns false
// only when the player chose to quit from the menu; the trip statistics and
// the best times have then been written (logging is left on).
bool UpdateFrame(const GameContext& ctx, GameState& state, float frameInterval);

// One fixed step of 1/75 s: with the menu shown it only orbits the menu camera;
// otherwise it steps the world, lays skid marks, times laps and moves the chase
// camera. Returns what the lap timer did (nothing with the menu shown).
LapEvent Tick(const GameContext& ctx, GameState& state);

// Start-up, after the car exists and the props are loaded (loadProps,
// game/draw/scene_setup.h): placeCarAtStart, then computeStartLine (game/laps.h)
// and the cones, the scene registrations and the skid-mark and shadow
// geometry; beginGame after "Main: Init done", then the ghosts (openGhosts,
// game/laps/ghosts.h), the replay player and the timing aids' centre line, and
// the warm-up last.
//
// The car at the start, 20 m behind the line, facing along the start heading
// (position and orientation only).
void placeCarAtStart(const GameContext& ctx, GameState& state);
// Camera above and behind the car, statistics timer cleared, menu shown with
// the cursor on its first item, switches at their start values, and the best
// times read from `bestTimesPath` over the empty table. The warm-up that
// follows sets masterVolume to 0 and hides the menu for its silent updates,
// then shows the menu and sets masterVolume back to 1.
void beginGame(const GameContext& ctx, GameState& state, const char* bestTimesPath);

// Menu item "restart": the car back at the start, braked, the lap not running.
void restartDrive(const GameContext& ctx, GameState& state);
// Out of the square around the track, fallen through it, on its roof, or not
// a number: the update puts such a car back at the recovery point.
bool carIsLost(const PhCar& car);

// The car back at the fixed recovery point near the start (R key, lost car).
void recoverCar(const GameContext& ctx, GameState& state);

// Closing the window ends the run without the trip statistics, but a record
// lap must not be lost: the shell calls this when the window is closed.
bool saveBestTimesOnClose(const GameState& state, const char* bestTimesPath);

// The best-times file in the working folder.
constexpr const char* kBestTimesFile = "toptimes.dat";
