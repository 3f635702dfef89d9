#include "game/ghosts.h"

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

int classOf(bool turbo) { return turbo ? 1 : 0; }

GhostCar& ghostCar(Ghosts& ghosts) {
  if (!ghosts.car) ghosts.car = std::make_unique<GhostCar>();
  return *ghosts.car;
}

void stopGhostCar(Ghosts& ghosts) {
  if (ghosts.car) stopGhost(*ghosts.car);
}

// The lap in the class's file when it holds a sound lap of that class that is
// at least as fast as `lapTime`: a run that lost its best times, or another run
// writing the same folder, must never have a slower lap replace it. Driving the
// file again happens only then, which is seldom: the ghost in memory is
// normally the file's own lap, and a lap kept is faster than that.
bool fasterLapOnDisk(Ghosts& ghosts, const std::string& path, bool turbo, float lapTime, GhostLap& onDisk) {
  std::string why;
  if (!loadGhost(path.c_str(), ghosts.trackId, onDisk, why) || onDisk.turbo != turbo || onDisk.lapTime > lapTime)
    return false;
  return verifyGhostLap(ghostCar(ghosts), onDisk, ghosts.tree, ghosts.lineA, ghosts.lineB, why);
}

// A completed lap faster than the class's ghost: kept and written, unless the
// file already holds a lap as fast, which is then kept instead.
void keepBestLap(Ghosts& ghosts, const GhostLap& lap) {
  int c = classOf(lap.turbo);
  // The ghost car may be driving the lap about to be replaced.
  stopGhostCar(ghosts);
  ghosts.best[c] = lap;
  ghosts.haveBest[c] = true;
  if (ghosts.folder.empty()) return;
  std::string path = ghostPath(ghosts, lap.turbo);
  GhostLap onDisk;
  if (fasterLapOnDisk(ghosts, path, lap.turbo, lap.lapTime, onDisk)) {
    ghosts.best[c] = std::move(onDisk);
    return;
  }
  std::string why;
  if (!makeFolder(ghosts.folder.c_str(), why) || !saveGhost(path.c_str(), lap, why)) {
    logLine("Main: Could not save \"%s\"", path.c_str());
    reportFailedSave(path.c_str(), why);
  }
}

// Only a lap faster than the class's ghost replaces it (or the first of a class
// without one). The best times do not decide: they may be older or newer than
// the ghost files, or lost.
bool becomesGhost(const Ghosts& ghosts, float lapTime, bool turboLap) {
  int c = classOf(turboLap);
  return !ghosts.haveBest[c] || lapTime < ghosts.best[c].lapTime;
}

}  // namespace

std::string ghostPath(const Ghosts& ghosts, bool turbo) {
  return ghosts.folder + (turbo ? "\\best-turbo.ghost" : "\\best.ghost");
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
  for (bool turbo : {false, true}) {
    std::string path = ghostPath(ghosts, turbo);
    if (!pathExists(path.c_str())) continue;
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
  return {state.lapRunning, state.lineLatched, state.turboUsedThisLap};
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
    if (becomesGhost(ghosts, state.lastLapTime, turboLap)) keepBestLap(ghosts, ghosts.lastLap);
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
