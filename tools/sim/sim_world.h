#pragma once

#include "app/input_device.h"
#include "app/scripted_input.h"
#include "game/game_state.h"
#include "game/laps/ghosts.h"
#include "game/prop_file.h"
#include "physics/world.h"
#include "render/rmd_mesh.h"
#include "vehicle/car.h"

#include <string>

// Everything one headless run simulates: the track's collision tree, the world,
// the car and the scripted input that drives it.
struct SimWorld {
  RMDMesh track;
  CollisionQuadtree* tree = nullptr;
  PhWorld world;
  PhCar* car = nullptr;
  ScriptedInput source;
  InputDevice input{&source};
  std::string replayPath;  // DIR\replay.vlr, referred to by the car
  GameContext ctx;         // no renderer, no sound
  GameState state;
  Ghosts ghosts;           // DIR\ghosts, as the game keeps its own

  SimWorld() = default;
  SimWorld(const SimWorld&) = delete;
  SimWorld& operator=(const SimWorld&) = delete;
  // Destroys the car first (it may write its replay), then the tree.
  ~SimWorld();
};

// Loads DIR\data\models\track1.rmd and builds its tree, reads DIR\data\trees.prp
// when present, creates the car (seeding the shared generator as start-up does)
// and restarts the drive as the menu's restart does: menu hidden, the car 20 m
// behind the start line. The car saves any recording as DIR\replay.vlr; best
// laps are written to DIR\ghosts like the game's (and ghosts found there are
// read, checked and, with ghosts.shown, driven alongside).
// False with `why` when the track does not load.
bool openSimWorld(const std::string& dir, SimWorld& sim, std::string& why);

