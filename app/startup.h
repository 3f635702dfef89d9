#pragma once

#include "app/config.h"

class PhCar;
class Renderer;
struct CollisionQuadtree;
struct GameContext;
struct GameState;
struct Ghosts;

// Start-up and shutdown of every program-wide object, and the frame functions
// of the main loop. The shell owns those objects from Init to Cleanup.

// Creates and loads everything in its fixed order, ending with three silent
// warm-up updates. False when a mesh did not load (nothing after it exists).
bool Init(const AppConfig& config);

// The controller rumbles with the car's force feedback from now on (--rumble);
// the F key switches it off and on again.
void switchRumbleOn();

// One update of the main loop with the frame clock kept around the game's
// update. False when the player quit from the menu.
bool updateFrame();

// One frame drawn (not swapped), the render start marked first.
void renderFrame();

// The run ends through the quit event (window closed, SIGINT, SIGTERM).
void onQuitEvent();

// From now on `listener` is told of the car after every tick that drives it
// (never while the menu shows); null stops it.
void setDrivingTickListener(void (*listener)(const PhCar& car, const GameState& state));

// The game's state and its ghosts, for the board's hooks of the main loop.
GameState& gameState();
Ghosts& gameGhosts();

// The program-wide objects a benchmark drive works on, from Init to Cleanup.
struct ProgramParts {
  GameContext* context = nullptr;
  GameState* game = nullptr;
  CollisionQuadtree* quadtree = nullptr;
  Renderer* renderer = nullptr;
};
ProgramParts programParts();

// Frees what Init created, in its fixed order, and logs the run statistics.
void Cleanup();
