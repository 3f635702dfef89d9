#pragma once

#include "game/lap_class.h"
#include "game/lap_event.h"
#include "game/laps/ghost_car.h"
#include "game/laps/ghost_choice.h"
#include "game/laps/ghost_file.h"
#include "game/laps/lap_recorder.h"
#include "game/laps/proof_recorder.h"
#include "game/track_line.h"

#include <memory>
#include <string>

struct GameState;
class InputDevice;
class PhCar;
struct CollisionQuadtree;

// The ghost key (scan code of G): shows and hides the ghost car.
constexpr int kKeyToggleGhost = 0x22;
// The game's ghost folder, in the working folder.
constexpr const char* kGhostFolder = "ghosts";

// Ghost laps during a drive: every timed lap is recorded; a lap that is faster
// than the class's ghost, or completes a class that has none yet, is kept as
// that class's ghost and written to FOLDERest.ghost or FOLDERest-turbo.ghost,
// unless that file already holds a lap as fast (another run's). With the ghost
// shown, every lap start also starts a ghost car on the best lap of the class
// the car is driving in. The game and the headless runner share this. The files
// are lap proofs: beside each lap the run since the last standing start is
// recorded, and the ghost file of a class is that run to the end of its lap.
struct ProofTrack;

struct Ghosts {
  std::string folder;  // where the ghost files live; "ghosts" in the game
  uint64_t trackId = 0;
  CollisionQuadtree* tree = nullptr;  // the track the ghost car drives on
  Vec3 lineA{0.0, 0.0, 0.0};          // the start line, for checking loaded laps
  Vec3 lineB{0.0, 0.0, 0.0};

  LapRecorder recorder;
  GhostLap best[kLapClassCount];  // by classIndex
  bool haveBest[kLapClassCount] = {false, false};
  GhostLap lastLap;  // the last completed lap, for the replay viewer
  bool haveLastLap = false;

  // Laps from a board, each checked by driving it again: the lap just above
  // the player's and the leader's, by class. None without a board.
  GhostLap boardLaps[kBoardGhostCount][kLapClassCount];
  bool haveBoardLap[kBoardGhostCount][kLapClassCount] = {{false, false}, {false, false}};

  bool shown = false;    // G: choice is not Off
  GhostChoice choice = GhostChoice::Off;
  bool keyHeld = false;  // G was down in the previous update
  // The cars that drive recorded laps again, owned here and each built when
  // first needed (4 MB each): the ghost beside the player, and the replay
  // viewer's, so that a replay leaves the ghost's run where it stood.
  std::unique_ptr<GhostCar> car;
  std::unique_ptr<GhostCar> replayCar;

  // The run as a proof needs it, and what its laps are measured on (the
  // circuit and its centre line, set by loadGhostFiles).
  ProofRecorder proofs;
  ProofCircuit circuit;
  TrackLine centreLine;
  ProofCourse course;
  // How a file on disk is read and checked before a lap replaces it, and the
  // track it is checked on: readGhostFile, set by loadGhostFiles (the verifier
  // builds on the game update, so it is handed in); without them a lap is
  // written unchecked.
  bool (*readFile)(const std::string& path, const ProofTrack& track, GhostLap& lap, std::string& why) = nullptr;
  // Shared, so that its owner frees it with the verifier's code.
  std::shared_ptr<const ProofTrack> fileTrack;
};

// The file of a class: FOLDER\best.ghost or FOLDER\best-turbo.ghost.
std::string ghostPath(const Ghosts& ghosts, LapClass lapClass);
// trackIdentity of a file's bytes; 0 when it cannot be read.
uint64_t trackIdentityOfFile(const char* path);

// Sets up the ghosts of a drive: the folder, the track identity, the collision
// tree, the start line (computeStartLine first) and the start; the car stands
// as start-up leaves it, and its run begins there. The files are read by
// loadGhostFiles (game/laps/ghost_files.h).
void openGhosts(Ghosts& ghosts, const std::string& folder, uint64_t trackId, CollisionQuadtree* tree,
                const GameState& state);
// Measures the laps of the run on `centreLine` of `circuit` from now on.
void setGhostCourse(Ghosts& ghosts, const ProofCircuit& circuit, const TrackLine& centreLine);
// Keeps `lap` as the ghost of its class (loaded from a file, or given to drive
// against), without writing it.
void takeGhostLap(Ghosts& ghosts, const GhostLap& lap);

// After a driving tick (the world stepped, the lap timed into `lap`): records
// the tick; at a touch of the line keeps a completed lap that earns it, starts
// the next recording and the ghost car of the new lap's class; otherwise steps
// the ghost car.
void ghostsAfterTick(Ghosts& ghosts, const InputDevice& input, const PhCar& car, const LapEvent& lap);

// The car was recovered: the lap is not completed, the ghost car disappears
// and the run notes the recovery.
void resetGhosts(Ghosts& ghosts);
// The drive was restarted: as a recovery, and a new run begins.
void restartGhosts(Ghosts& ghosts);

// The G key, once per update: each press goes on to the next choice
// (nextGhostChoice; the player's own best is always offered, so without board
// laps G shows and hides it); hiding stops the car.
void handleGhostKey(Ghosts& ghosts, const InputDevice& input);

// The lap of `lapClass` the chosen ghost drives, or the player's best when
// nothing else is chosen (the timing aids' reference); null when there is none.
const GhostLap* chosenLap(const Ghosts& ghosts, LapClass lapClass);
// A checked board lap (`which`: Rival or Leader) replaces the one of its class;
// a ghost car driving the old one stops first.
void takeBoardLap(Ghosts& ghosts, GhostChoice which, GhostLap&& lap);
// True once a board lap has been taken: the ghost then carries its label.
bool haveBoardLaps(const Ghosts& ghosts);

// True while the ghost car is to be drawn.
bool ghostVisible(const Ghosts& ghosts);
// The ghost car's drawn pose for a frame alpha of a tick after its last step.
void interpolateGhost(Ghosts& ghosts, float alpha);
// The ghost car for the scene to draw from; null until it is first built.
const PhCar* ghostCarToDraw(const Ghosts& ghosts);
// The replay viewer's car, built on first use.
GhostCar& replayCarOf(Ghosts& ghosts);
