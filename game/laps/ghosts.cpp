#include "game/laps/ghosts.h"

#include "app/files.h"
#include "app/input_device.h"
#include "app/log.h"
#include "game/game_state.h"
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

bool fileExists(const char* path) {
  FILE* file = openFile(path, "rb");
  if (file == nullptr) return false;
  std::fclose(file);
  return true;
}

// A completed lap that earned its class's ghost: kept and written.
void keepBestLap(Ghosts& ghosts, const GhostLap& lap) {
  int c = classIndex(lap.lapClass);
  // The ghost car may be driving the lap about to be replaced.
  stopGhostCar(ghosts);
  ghosts.best[c] = lap;
  ghosts.haveBest[c] = true;
  if (ghosts.folder.empty()) return;
  std::string path = ghostPath(ghosts, lap.lapClass);
  if (!makeFolder(ghosts.folder.c_str()) || !saveGhost(path.c_str(), lap))
    logLine("Main: Could not save \"%s\"", path.c_str());
}

// The lap just completed takes the first place of its class, or beats the
// class's ghost, or is the first of a class without one: a best time without a
// ghost (from a table older than the ghost files) must not keep the player
// from ever getting one.
bool becomesGhost(const Ghosts& ghosts, const LapEvent& lap) {
  int c = classIndex(lap.lapClass);
  return lap.newBest || !ghosts.haveBest[c] || lap.lapTime < ghosts.best[c].lapTime;
}

}  // namespace

std::string ghostPath(const Ghosts& ghosts, LapClass lapClass) {
  return ghosts.folder + (lapClass == LapClass::Turbo ? "\\best-turbo.ghost" : "\\best.ghost");
}

uint64_t trackIdentityOfFile(const char* path) {
  std::vector<unsigned char> bytes;
  if (!readWholeFile(path, bytes)) return 0;
  return trackIdentity(bytes.data(), bytes.size());
}

void openGhosts(Ghosts& ghosts, const std::string& folder, uint64_t trackId, CollisionQuadtree* tree,
                const GameState& state) {
  ghosts.folder = folder;
  ghosts.trackId = trackId;
  ghosts.tree = tree;
  ghosts.lineA = state.startLineA;
  ghosts.lineB = state.startLineB;
  for (LapClass lapClass : kLapClasses) {
    std::string path = ghostPath(ghosts, lapClass);
    if (!fileExists(path.c_str())) continue;
    GhostLap& lap = ghosts.best[classIndex(lapClass)];
    std::string why;
    bool ok = loadGhost(path.c_str(), trackId, lap, why);
    if (ok && lap.lapClass != lapClass) {
      why = lapClass == LapClass::Turbo ? "not a turbo lap" : "a turbo lap";
      ok = false;
    }
    if (ok) ok = verifyGhostLap(builtCar(ghosts.car), lap, tree, ghosts.lineA, ghosts.lineB, why);
    ghosts.haveBest[classIndex(lapClass)] = ok;
    if (!ok) logLine("Main: Ghost file \"%s\" refused: %s", path.c_str(), why.c_str());
  }
}

void ghostsAfterTick(Ghosts& ghosts, const InputDevice& input, const PhCar& car, const LapEvent& lap) {
  recordLapTick(ghosts.recorder, input, car);
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
