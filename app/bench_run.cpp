#include "app/bench_run.h"

#include "app/bench_lap.h"
#include "app/bench_plot.h"
#include "app/bench_record.h"
#include "app/board_play.h"
#include "app/failed_saves.h"
#include "app/files.h"
#include "app/startup.h"
#include "app/window.h"
#include "game/cameras.h"
#include "game/game_state.h"
#include "game/laps/ghost_car.h"
#include "game/laps/ghosts.h"
#include "game/track_line.h"
#include "game/update.h"
#include "render/mat_renderer.h"
#include "render/renderer.h"
#include "vehicle/car.h"
#include "vehicle/car_state.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

const char kTrackLineFile[] = "data\\track.line";

// Frames drawn at most after the drive while the board answers its lap: a
// round is a few exchanges, each bounded by the link's own limits.
constexpr double kBoardAnswerSeconds = 30.0;

// The lap being driven (or, on a board, the whole run to its end); the tick hook reads it.
struct BenchDrive {
  const GhostLap* lap = nullptr;
  const LapProof* run = nullptr;
  const ProgramParts* parts = nullptr;  // for the run's recoveries
  ProofChangeCursor changes;
  GhostInput runInput;  // as the run's last change left it
  long long ticksWanted = 0;
  long long ticksDone = 0;
  int ticksThisFrame = 0;
};

BenchDrive drive;

// Each driving tick takes the lap's recorded inputs; past the lap's end (a
// burst of ticks in its last update) the car keeps the last ones.
void benchDrivingStep(PhCar& car, InputDevice& input) {
  if (drive.ticksDone < drive.ticksWanted) applyGhostInput(drive.lap->inputs[size_t(drive.ticksDone)], input, car);
  ++drive.ticksDone;
  ++drive.ticksThisFrame;
}

// A run's tick: its changes as they come, a recovery as the R key makes one,
// and its input held on every tick (the keyboard is read before each).
void benchRunStep(PhCar& car, InputDevice& input) {
  if (const ProofChange* change = drive.changes.at(uint64_t(drive.ticksDone))) {
    if (change->recovery) recoverCar(*drive.parts->context, *drive.parts->game);
    drive.runInput = change->input;
  }
  applyGhostInput(drive.runInput, input, car);
  ++drive.ticksDone;
  ++drive.ticksThisFrame;
}

// The lap to drive; on a board also the autopilot's run that ends with it.
bool makeLap(const BenchSettings& settings, const ProgramParts& parts, GhostLap& lap, LapProof* run,
             std::string& why) {
  BenchTrack track{parts.quadtree, parts.context->ghosts->trackId, parts.game};
  if (!settings.ghostPath.empty()) return loadBenchLap(settings.ghostPath.c_str(), track, lap, why);
  TrackLine line;
  if (!loadBenchTrackLine(kTrackLineFile, line, why) || !autopilotBenchLap(line, track, lap, why, run)) return false;
  if (run != nullptr && run->lapEndTick == 0) {
    why = "the autopilot's lap has no proof";
    return false;
  }
  return true;
}

// One frame as the main loop draws it.
bool updateAndDraw() {
  if (!updateFrame()) return false;
  boardFrame(gameState());
  renderFrame();
  swapAppWindow();
  return true;
}

// The player's car at the lap's start, the menu hidden, the chase camera; a
// run starts as the menu's restart does, so that its lap is timed and proven
// as a player's. The bench's laps are not kept as the player's ghosts.
void startDrive(const ProgramParts& parts, const GhostLap& lap) {
  GameContext& ctx = *parts.context;
  if (drive.run != nullptr) {
    restartDrive(ctx, *parts.game);
  } else {
    resetGhosts(*ctx.ghosts);
    applyCarState(lap.start, *ctx.car);
    parts.game->menuVisible = false;
  }
  ctx.ghosts->folder.clear();
  parts.game->cameraMode = kCameraChase;
  ctx.beforeDrivingStep = drive.run != nullptr ? benchRunStep : benchDrivingStep;
}

double milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Handles every window message that waits, as the main loop does between
// frames; false when the window was closed.
bool takeWindowEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (event.type == SDL_QUIT) {
      onQuitEvent();
      return false;
    }
    handleWindowEvent(event);
  }
  return true;
}

// Frames until the lap's ticks are driven; false when the window was closed first.
bool driveFrames(Renderer& renderer, std::vector<BenchFrame>& frames) {
  Clock::time_point start = Clock::now(), frameStart = start;
  for (;;) {
    if (!takeWindowEvents()) return false;
    Clock::time_point now = Clock::now();
    if (!frames.empty()) frames.back().frameMs = milliseconds(now - frameStart);
    if (drive.ticksDone >= drive.ticksWanted) return true;
    frameStart = now;
    drive.ticksThisFrame = 0;
    if (!updateAndDraw()) return false;
    BenchFrame frame;
    frame.time = milliseconds(frameStart - start) / 1000.0;
    frame.ticks = drive.ticksThisFrame;
    frame.triangles = renderer.matRenderer().trianglesSubmitted;
    frames.push_back(frame);
  }
}

// After the drive, with the menu shown, frames go on (not measured) until the
// board has answered the lap or the time is up; a lap it has not answered
// stays in the outbox for the next start. False when the window was closed.
bool awaitBoard(const ProgramParts& parts) {
  parts.game->menuVisible = true;
  Clock::time_point end = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                             std::chrono::duration<double>(kBoardAnswerSeconds));
  while (boardBusy() && Clock::now() < end) {
    if (!takeWindowEvents() || !updateAndDraw()) return false;
  }
  // The lines of the board's last answer.
  boardFrame(gameState());
  return true;
}

bool writeResults(const BenchSettings& settings, const std::vector<BenchFrame>& frames) {
  std::string dir = settings.outDir.empty() ? "." : settings.outDir;
  std::string csv = dir + "/bench.csv";
  std::string text = benchCsv(frames), why;
  if (!makeFolder(dir.c_str(), why) || !writeFileAtomically(csv.c_str(), text.data(), text.size(), why)) {
    reportFailedSave(csv.c_str(), why);
    return false;
  }
  std::string png = dir + "/bench.png";
  if (!plotBench(csv, png, why)) std::fprintf(stderr, "stravo: bench: no %s: %s\n", png.c_str(), why.c_str());
  return true;
}

}  // namespace

int runBench(const BenchSettings& settings, bool onBoard) {
  ProgramParts parts = programParts();
  GhostLap lap;
  LapProof run;
  std::string why;
  if (!makeLap(settings, parts, lap, onBoard ? &run : nullptr, why)) {
    std::fprintf(stderr, "stravo: bench: no lap to drive: %s\n", why.c_str());
    return 1;
  }
  drive.lap = &lap;
  drive.run = onBoard ? &run : nullptr;
  drive.parts = &parts;
  drive.changes = ProofChangeCursor{&run.changes};
  drive.runInput = GhostInput();
  drive.ticksWanted = onBoard ? static_cast<long long>(run.lapEndTick) + 1 : static_cast<long long>(lap.inputs.size());
  if (settings.ticks > 0) drive.ticksWanted = std::min(drive.ticksWanted, settings.ticks);
  drive.ticksDone = 0;

  // The menu's frame a player sees first takes up the time start-up left over.
  updateAndDraw();
  startDrive(parts, lap);
  std::vector<BenchFrame> frames;
  bool driven = driveFrames(*parts.renderer, frames);
  parts.context->beforeDrivingStep = nullptr;
  if (driven && onBoard) driven = awaitBoard(parts);
  if (!driven) {
    std::fprintf(stderr, "stravo: bench: stopped before the lap's end\n");
    return 1;
  }
  if (!writeResults(settings, frames)) return 1;
  std::printf("%s\n", benchLine(summarizeBench(frames)).c_str());
  return 0;
}
