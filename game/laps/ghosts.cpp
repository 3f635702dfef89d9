#include "game/laps/ghosts.h"

#include "app/failed_saves.h"
#include "app/files.h"
#include "app/input_device.h"
#include "app/log.h"
#include "game/game_state.h"
#include "render/rmd_mesh.h"
#include "vehicle/car.h"

#include <cstdio>
#include <vector>

namespace {

GhostCar& builtCar(std::unique_ptr<GhostCar>& car) {
  if (!car) car = std::make_unique<GhostCar>();
  return *car;
}

void stopGhostCar(Ghosts& ghosts) {
  if (ghosts.car) stopGhost(*ghosts.car);
}

// The lap in the class's file when it holds a sound lap of that class that is
// at least as fast as `lapTime`: a run that lost its best times, or another run
// writing the same folder, must never have a slower lap replace it. Driving the
// file again happens only then, which is seldom: the ghost in memory is
// normally the file's own lap, and a lap kept is faster than that.
bool fasterLapOnDisk(const Ghosts& ghosts, const std::string& path, LapClass lapClass, float lapTime,
                     GhostLap& onDisk) {
  std::string why;
  return ghosts.readFile && ghosts.fileTrack && pathExists(path.c_str()) &&
         ghosts.readFile(path, *ghosts.fileTrack, onDisk, why) &&
         onDisk.lapClass == lapClass && onDisk.lapTime <= lapTime;
}

// A completed lap that earned its class's ghost: kept, and its run written as
// the class's proof, unless the file already holds a lap as fast, which is then
// kept instead. A run given up for its length leaves the file as it was.
void keepBestLap(Ghosts& ghosts, const GhostLap& lap) {
  takeGhostLap(ghosts, lap);
  if (ghosts.folder.empty() || !ghosts.proofs.haveLap) return;
  std::string path = ghostPath(ghosts, lap.lapClass);
  GhostLap onDisk;
  if (fasterLapOnDisk(ghosts, path, lap.lapClass, lap.lapTime, onDisk)) {
    takeGhostLap(ghosts, onDisk);
    return;
  }
  LapProof proof;
  lapProofOf(ghosts.proofs, ghosts.circuit, proof);
  std::vector<uint8_t> image = encodeProof(proof);
  std::string why;
  if (!makeFolder(ghosts.folder.c_str(), why) || !writeFileAtomically(path.c_str(), image.data(), image.size(), why)) {
    logLine("Main: Could not save \"%s\"", path.c_str());
    reportFailedSave(path.c_str(), why);
  }
}

// Only a lap faster than the class's ghost replaces it (or the first of a class
// without one). The best times do not decide: they may be older or newer than
// the ghost files, or lost.
bool becomesGhost(const Ghosts& ghosts, const LapEvent& lap) {
  int c = classIndex(lap.lapClass);
  return !ghosts.haveBest[c] || lap.lapTime < ghosts.best[c].lapTime;
}

}  // namespace

std::string ghostPath(const Ghosts& ghosts, LapClass lapClass) {
  return ghosts.folder + (lapClass == LapClass::Turbo ? "\\best-turbo.ghost" : "\\best.ghost");
}

uint64_t trackIdentityOfFile(const char* path) {
  std::vector<unsigned char> bytes;
  if (!readWholeFile(path, kMaxRmdFileBytes, bytes)) return 0;
  return trackIdentity(bytes.data(), bytes.size());
}

void openGhosts(Ghosts& ghosts, const std::string& folder, uint64_t trackId, CollisionQuadtree* tree,
                const GameState& state) {
  ghosts.folder = folder;
  ghosts.trackId = trackId;
  ghosts.tree = tree;
  ghosts.lineA = state.startLineA;
  ghosts.lineB = state.startLineB;
  ghosts.circuit.trackId = trackId;
  setProofCourse(ghosts.course, ghosts.centreLine, state.startPosition);
  beginProofRun(ghosts.proofs, ProofStart::StartUp);
}

void setGhostCourse(Ghosts& ghosts, const ProofCircuit& circuit, const TrackLine& centreLine) {
  ghosts.circuit = circuit;
  ghosts.centreLine = centreLine;
  setProofCourse(ghosts.course, ghosts.centreLine, ghosts.course.start);
}

void takeGhostLap(Ghosts& ghosts, const GhostLap& lap) {
  int c = classIndex(lap.lapClass);
  // The ghost car may be driving the lap about to be replaced.
  stopGhostCar(ghosts);
  ghosts.best[c] = lap;
  ghosts.haveBest[c] = true;
}

void ghostsAfterTick(Ghosts& ghosts, const InputDevice& input, const PhCar& car, const LapEvent& lap) {
  recordLapTick(ghosts.recorder, input, car);
  recordProofTick(ghosts.proofs, ghosts.course, captureGhostInput(input, car), car, lap);
  if (!lap.started) {
    if (ghosts.car && stepGhost(*ghosts.car) && ghosts.car->diverged) stopGhost(*ghosts.car);
    return;
  }

  if (lap.completed && finishLapRecording(ghosts.recorder, lap)) {
    ghosts.lastLap = ghosts.recorder.lap;
    ghosts.haveLastLap = true;
    if (becomesGhost(ghosts, lap)) keepBestLap(ghosts, ghosts.lastLap);
  }
  beginLapRecording(ghosts.recorder, car, ghosts.trackId);

  const GhostLap* chosen = chosenLap(ghosts, lap.runningClass);
  if (ghosts.shown && chosen != nullptr) startGhost(builtCar(ghosts.car), *chosen, ghosts.tree);
  else stopGhostCar(ghosts);
}

void resetGhosts(Ghosts& ghosts) {
  cancelLapRecording(ghosts.recorder);
  stopGhostCar(ghosts);
  noteProofRecovery(ghosts.proofs);
}

void restartGhosts(Ghosts& ghosts) {
  resetGhosts(ghosts);
  beginProofRun(ghosts.proofs, ProofStart::Restart);
}

void handleGhostKey(Ghosts& ghosts, const InputDevice& input) {
  bool down = input.isDown(kKeyToggleGhost);
  if (down && !ghosts.keyHeld) {
    bool have[kGhostChoiceCount] = {true, true, false, false};
    for (int b = 0; b < kBoardGhostCount; ++b)
      for (int c = 0; c < kLapClassCount; ++c) have[int(GhostChoice::Rival) + b] |= ghosts.haveBoardLap[b][c];
    ghosts.choice = nextGhostChoice(ghosts.choice, have);
    ghosts.shown = ghosts.choice != GhostChoice::Off;
    if (!ghosts.shown) stopGhostCar(ghosts);
  }
  ghosts.keyHeld = down;
}

const GhostLap* chosenLap(const Ghosts& ghosts, LapClass lapClass) {
  int c = classIndex(lapClass);
  if (ghosts.choice == GhostChoice::Rival || ghosts.choice == GhostChoice::Leader) {
    int b = boardGhostIndex(ghosts.choice);
    return ghosts.haveBoardLap[b][c] ? &ghosts.boardLaps[b][c] : nullptr;
  }
  return ghosts.haveBest[c] ? &ghosts.best[c] : nullptr;
}

void takeBoardLap(Ghosts& ghosts, GhostChoice which, GhostLap&& lap) {
  int b = boardGhostIndex(which), c = classIndex(lap.lapClass);
  if (ghosts.car && ghosts.car->lap == &ghosts.boardLaps[b][c]) stopGhostCar(ghosts);
  ghosts.boardLaps[b][c] = std::move(lap);
  ghosts.haveBoardLap[b][c] = true;
}

bool haveBoardLaps(const Ghosts& ghosts) {
  for (int b = 0; b < kBoardGhostCount; ++b)
    for (int c = 0; c < kLapClassCount; ++c)
      if (ghosts.haveBoardLap[b][c]) return true;
  return false;
}

bool ghostVisible(const Ghosts& ghosts) { return ghosts.shown && ghosts.car && ghosts.car->running; }

void interpolateGhost(Ghosts& ghosts, float alpha) {
  if (ghostVisible(ghosts)) ghosts.car->car->InterpolateForDrawing(alpha);
}

const PhCar* ghostCarToDraw(const Ghosts& ghosts) { return ghosts.car ? ghosts.car->car : nullptr; }

GhostCar& replayCarOf(Ghosts& ghosts) { return builtCar(ghosts.replayCar); }
