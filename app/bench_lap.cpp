#include "app/bench_lap.h"

#include "app/files.h"
#include "app/scripted_input.h"
#include "game/game_state.h"
#include "game/laps/ghost_car.h"
#include "game/laps/ghosts.h"
#include "game/laps.h"
#include "game/track_line.h"
#include "game/update.h"
#include "tools/sim/autopilot.h"
#include "vehicle/car.h"

#include <vector>

namespace {

// The session's autopilot drive: a start from standing and a lap and a half.
constexpr int kAutopilotTicks = 8000;

}  // namespace

bool loadBenchLap(const char* path, const BenchTrack& track, GhostLap& out, std::string& why) {
  GhostCar check;
  return loadGhost(path, track.trackId, out, why) &&
         verifyGhostLap(check, out, track.tree, track.game->startLineA, track.game->startLineB, why);
}

bool autopilotBenchLap(const TrackLine& line, const BenchTrack& track, GhostLap& out, std::string& why,
                       LapProof* run) {
  // The ghost car's world keeps the player's car, generator and noise table untouched.
  GhostCar drive;
  ScriptedInput source;
  drive.input.source = &source;
  drive.world.attachTree(track.tree);

  GameState state;
  state.startPosition = track.game->startPosition;
  state.startHeading = track.game->startHeading;
  computeStartLine(state);
  // No folder: the laps stay in memory.
  Ghosts ghosts;
  ghosts.trackId = track.trackId;
  ghosts.tree = track.tree;
  ghosts.lineA = state.startLineA;
  ghosts.lineB = state.startLineB;

  GameContext ctx;
  ctx.car = drive.car;
  ctx.world = &drive.world;
  ctx.input = &drive.input;
  ctx.ghosts = &ghosts;
  restartDrive(ctx, state);
  PhCar& car = *drive.car;
  car.turbo = false;
  car.autoGearbox = true;
  drive.input.setAnalog(true);

  Autopilot autopilot;
  autopilot.line = &line;
  for (int t = 0; t < kAutopilotTicks; ++t) {
    StickReading stick = autopilot.drive(car);
    source.setAxis(0, stick.x);
    source.setAxis(1, stick.y);
    bool hadBest = ghosts.haveBest[0];
    float bestTime = ghosts.best[0].lapTime;
    Tick(ctx, state);
    bool newBest = ghosts.proofs.haveLap && ghosts.haveBest[0] && (!hadBest || ghosts.best[0].lapTime < bestTime);
    if (run != nullptr && newBest) lapProofOf(ghosts.proofs, ghosts.circuit, *run);
    if (carIsLost(car)) {
      recoverCar(ctx, state);
      autopilot.lose();
    }
  }
  if (!ghosts.haveBest[0]) {
    why = "the autopilot completed no lap";
    return false;
  }
  out = ghosts.best[0];
  return true;
}

bool loadBenchTrackLine(const char* path, TrackLine& out, std::string& why) {
  std::vector<unsigned char> bytes;
  if (!readWholeFile(path, kMaxTextFileBytes, bytes, why)) {
    why = platformPath(path) + ": " + why;
    return false;
  }
  int badLine = 0;
  if (!parseTrackLine(bytes.data(), bytes.size(), out, badLine, why)) {
    why = platformPath(path) + ":" + std::to_string(badLine) + ": " + why;
    return false;
  }
  return true;
}
