#include "game/laps/ghosts.h"

#include "app/files.h"
#include "app/input_device.h"
#include "app/log.h"
#include "game/game_state.h"
#include "vehicle/car.h"

#include <cstdio>
#include <vector>

namespace {

int classOf(bool turbo) { return turbo ? 1 : 0; }

GhostCar& ghostCar(Ghosts& ghosts) {
  if (!ghosts.car) ghosts.car = std::make_unique<GhostCar>();
  return *ghosts.car;
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

// A completed lap that took entry 0 of its class: kept and written.
void keepBestLap(Ghosts& ghosts, const GhostLap& lap) {
  int c = classOf(lap.turbo);
  // The ghost car may be driving the lap about to be replaced.
  stopGhostCar(ghosts);
  ghosts.best[c] = lap;
  ghosts.haveBest[c] = true;
  if (ghosts.folder.empty()) return;
  std::string path = ghostPath(ghosts, lap.turbo);
  if (!makeFolder(ghosts.folder.c_str()) || !saveGhost(path.c_str(), lap))
    logLine("Main: Could not save \"%s\"", path.c_str());
}

// The lap just completed takes entry 0 of its class, or beats the class's
// ghost, or is the first of a class without one: a best time without a ghost
// (from a table older than the ghost files) must not keep the player from
// ever getting one.
bool becomesGhost(const Ghosts& ghosts, const GameState& state, const LapClock& before, bool turboLap) {
  int c = classOf(turboLap);
  bool newBest = bestOfClass(state.bestTimes, turboLap) != before.best[c];
  return newBest || !ghosts.haveBest[c] || state.lastLapTime < ghosts.best[c].lapTime;
}

}  // namespace

std::string ghostPath(const Ghosts& ghosts, bool turbo) {
  return ghosts.folder + (turbo ? "\\best-turbo.ghost" : "\\best.ghost");
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
  for (bool turbo : {false, true}) {
    std::string path = ghostPath(ghosts, turbo);
    if (!fileExists(path.c_str())) continue;
    GhostLap& lap = ghosts.best[classOf(turbo)];
    std::string why;
    bool ok = loadGhost(path.c_str(), trackId, lap, why);
    if (ok && lap.turbo != turbo) {
      why = turbo ? "not a turbo lap" : "a turbo lap";
      ok = false;
    }
    if (ok) ok = verifyGhostLap(ghostCar(ghosts), lap, tree, ghosts.lineA, ghosts.lineB, why);
    ghosts.haveBest[classOf(turbo)] = ok;
    if (!ok) logLine("Main: Ghost file \"%s\" refused: %s", path.c_str(), why.c_str());
  }
}

LapClock lapClockOf(const GameState& state) {
  return {state.lapRunning, state.lineLatched, state.turboUsedThisLap,
          {bestOfClass(state.bestTimes, false), bestOfClass(state.bestTimes, true)}};
}

void ghostsAfterTick(Ghosts& ghosts, const InputDevice& input, const PhCar& car, const GameState& state,
                     const LapClock& before) {
  if (!before.lapRunning && ghosts.recorder.recording) cancelLapRecording(ghosts.recorder);
  recordLapTick(ghosts.recorder, input, car);

  bool touched = state.lineLatched && !before.lineLatched;
  if (!touched) {
    if (ghosts.car && stepGhost(*ghosts.car) && ghosts.car->diverged) stopGhost(*ghosts.car);
    return;
  }

  // The class of the lap just ended: the timer clears the mark at the touch.
  bool turboLap = before.turboUsedThisLap || car.turbo;
  if (before.lapRunning && finishLapRecording(ghosts.recorder, state.lastLapTime, turboLap)) {
    ghosts.lastLap = ghosts.recorder.lap;
    ghosts.haveLastLap = true;
    if (becomesGhost(ghosts, state, before, turboLap)) keepBestLap(ghosts, ghosts.lastLap);
  }
  beginLapRecording(ghosts.recorder, car, ghosts.trackId);

  int c = classOf(car.turbo);
  if (ghosts.shown && ghosts.haveBest[c]) startGhost(ghostCar(ghosts), ghosts.best[c], ghosts.tree);
  else stopGhostCar(ghosts);
}

void resetGhosts(Ghosts& ghosts) {
  cancelLapRecording(ghosts.recorder);
  stopGhostCar(ghosts);
}

void handleGhostKey(Ghosts& ghosts, const InputDevice& input) {
  bool down = input.isDown(kKeyG);
  if (down && !ghosts.keyHeld) {
    ghosts.shown = !ghosts.shown;
    if (!ghosts.shown) stopGhostCar(ghosts);
  }
  ghosts.keyHeld = down;
}

bool ghostVisible(const Ghosts& ghosts) { return ghosts.shown && ghosts.car && ghosts.car->running; }

void interpolateGhost(Ghosts& ghosts, float alpha) {
  if (ghostVisible(ghosts)) ghosts.car->car->InterpolateForDrawing(alpha);
}
