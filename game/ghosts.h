#pragma once

#include "game/ghost_car.h"
#include "game/ghost_file.h"
#include "game/lap_recorder.h"

#include <memory>
#include <string>

struct GameState;
class InputDevice;
class PhCar;
struct CollisionQuadtree;

// The ghost key (scan code of G): shows and hides the ghost car.
constexpr int kKeyG = 0x22;
// The game's ghost folder, in the working folder.
constexpr const char* kGhostFolder = "ghosts";

// Ghost laps during a drive: every timed lap is recorded; a lap that is faster
// than the class's ghost, or completes a class that has none yet, is kept as
// that class's ghost and written to FOLDER\best.ghost or FOLDER\best-turbo.ghost,
// unless that file already holds a lap as fast (another run's). With the
// ghost shown, every lap start also starts a ghost car on the best lap of the
// class the car is driving in. The game and the headless runner share this.
struct Ghosts {
  std::string folder;  // where the ghost files live; "ghosts" in the game
  uint64_t trackId = 0;
  CollisionQuadtree* tree = nullptr;  // the track the ghost car drives on
  Vec3 lineA{0.0, 0.0, 0.0};          // the start line, for checking loaded laps
  Vec3 lineB{0.0, 0.0, 0.0};

  LapRecorder recorder;
  GhostLap best[2];  // without and with the turbo
  bool haveBest[2] = {false, false};
  GhostLap lastLap;  // the last completed lap, for the replay viewer
  bool haveLastLap = false;

  bool shown = false;    // G
  bool keyHeld = false;  // G was down in the previous update
  std::unique_ptr<GhostCar> car;  // built when first needed
};

// The file of a class: FOLDER\best.ghost or FOLDER\best-turbo.ghost.
std::string ghostPath(const Ghosts& ghosts, bool turbo);
// FNV-1a of a file's bytes (trackIdentity); 0 when it cannot be read.
uint64_t trackIdentityOfFile(const char* path);

// Sets up the ghosts of a drive: the folder, the track identity, the collision
// tree and the start line (computeStartLine first). Then reads each class's
// ghost file when it exists and drives it again; a file that is refused is
// logged ("Main: Ghost file "%s" refused: %s") and left unused. A missing
// file is no fault and logs nothing.
void openGhosts(Ghosts& ghosts, const std::string& folder, uint64_t trackId, CollisionQuadtree* tree,
                const GameState& state);

// The lap timer as it stood before a tick, for ghostsAfterTick.
struct LapClock {
  bool lapRunning;
  bool lineLatched;
  bool turboUsedThisLap;
};
LapClock lapClockOf(const GameState& state);

// After a driving tick (the world stepped, the lap timed): records the tick,
// completes and keeps a best lap, starts the next recording and the ghost car
// at a touch of the line, and otherwise steps the ghost car.
void ghostsAfterTick(Ghosts& ghosts, const InputDevice& input, const PhCar& car, const GameState& state,
                     const LapClock& before);

// The drive was restarted or the car recovered: the lap is not completed and
// the ghost car disappears.
void resetGhosts(Ghosts& ghosts);

// The G key, once per update: each press flips `shown`; hiding stops the car.
void handleGhostKey(Ghosts& ghosts, const InputDevice& input);

// True while the ghost car is to be drawn.
bool ghostVisible(const Ghosts& ghosts);
// The ghost car's drawn pose for a frame alpha of a tick after its last step.
void interpolateGhost(Ghosts& ghosts, float alpha);
