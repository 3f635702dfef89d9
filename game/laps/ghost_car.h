#pragma once

#include "app/input_device.h"
#include "game/laps/ghost_file.h"
#include "physics/world.h"

#include <cstdint>
#include <string>

class PhCar;
struct CollisionQuadtree;

// A recorded lap driven again: a second PhCar in a PhWorld of its own on the
// shared track tree, fed by an InputDevice of its own that replays the lap's
// inputs. It never touches the player's car, world or input. Stepping it
// between the player's steps is safe: a world step leaves nothing in the tree
// that the next step reads.
//
// Use:
//   GhostCar ghost;                         // once; builds the car (4 MB)
//   startGhost(ghost, lap, tree);           // the lap's start state
//   while (stepGhost(ghost)) {              // one tick each
//     ghost.car->current / drawn ...        // pose after ghost.ticksDone steps
//   }
//   ghost.diverged                          // a tick left its recorded pose
class GhostCar {
 public:
  // Builds the car without disturbing the noise table or the shared generator
  // that the player's car depends on.
  GhostCar();
  // Frees the car without its shutdown log line: the log stays the player's.
  ~GhostCar();
  GhostCar(const GhostCar&) = delete;
  GhostCar& operator=(const GhostCar&) = delete;

  PhWorld world;
  InputDevice input{nullptr};
  PhCar* car = nullptr;
  const GhostLap* lap = nullptr;  // not owned; must outlive the run
  uint32_t ticksDone = 0;         // steps since the lap's start
  bool running = false;           // started and not yet at the lap's end
  bool diverged = false;          // a step did not reach its recorded pose
};

// Puts the car in `lap`'s start state on `tree` (its drawn pose too) and arms it.
void startGhost(GhostCar& ghost, const GhostLap& lap, CollisionQuadtree* tree);
// One tick: the recorded inputs of the next tick, one world step, the pose
// compared with the record. False, and nothing done, when no lap is running;
// the step that reaches the lap's last tick ends the run.
bool stepGhost(GhostCar& ghost);
// Hides the ghost: the run ends where it is.
void stopGhost(GhostCar& ghost);

// Drives `lap` again from its start state on `tree` and checks that it starts
// on the line from lineA to lineB, reaches every recorded pose exactly, leaves
// the line far enough to count it again and touches it on its last tick and
// not before. False with the reason otherwise.
bool verifyGhostLap(GhostCar& ghost, const GhostLap& lap, CollisionQuadtree* tree, const Vec3& lineA,
                    const Vec3& lineB, std::string& why);
