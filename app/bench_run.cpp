#include "app/bench_run.h"

#include "app/bench_lap.h"
#include "app/bench_plot.h"
#include "app/bench_record.h"
#include "app/failed_saves.h"
#include "app/files.h"
#include "app/startup.h"
#include "app/window.h"
#include "game/cameras.h"
#include "game/game_state.h"
#include "game/laps/ghost_car.h"
#include "game/laps/ghosts.h"
#include "game/track_line.h"
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

// The lap being driven; the tick hook reads it.
struct BenchDrive {
  const GhostLap* lap = nullptr;
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

bool makeLap(const BenchSettings& settings, const ProgramParts& parts, GhostLap& lap, std::string& why) {
  BenchTrack track{parts.quadtree, parts.context->ghosts->trackId, parts.game};
  if (!settings.ghostPath.empty()) return loadBenchLap(settings.ghostPath.c_str(), track, lap, why);
  TrackLine line;
  return loadBenchTrackLine(kTrackLineFile, line, why) && autopilotBenchLap(line, track, lap, why);
}

// One frame as the main loop draws it.
void updateAndDraw() {
  updateFrame();
  renderFrame();
  swapAppWindow();
}

// The player's car at the lap's start, the menu hidden, the chase camera. The
// bench's laps are not kept as the player's ghosts.
void startDrive(const ProgramParts& parts, const GhostLap& lap) {
  GameContext& ctx = *parts.context;
  resetGhosts(*ctx.ghosts);
  ctx.ghosts->folder.clear();
  applyCarState(lap.start, *ctx.car);
  parts.game->menuVisible = false;
  parts.game->cameraMode = kCameraChase;
  ctx.beforeDrivingStep = benchDrivingStep;
}

double milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Frames until the lap's ticks are driven; false when the window was closed first.
bool driveFrames(Renderer& renderer, std::vector<BenchFrame>& frames) {
  Clock::time_point start = Clock::now(), frameStart = start;
  for (;;) {
    SDL_Event event;
    if (SDL_PollEvent(&event)) {
      if (event.type == SDL_QUIT) {
        onQuitEvent();
        return false;
      }
      handleWindowEvent(event);
      continue;
    }
    Clock::time_point now = Clock::now();
    if (!frames.empty()) frames.back().frameMs = milliseconds(now - frameStart);
    if (drive.ticksDone >= drive.ticksWanted) return true;
    frameStart = now;
    drive.ticksThisFrame = 0;
    if (!updateFrame()) return false;
    renderFrame();
    swapAppWindow();
    BenchFrame frame;
    frame.time = milliseconds(frameStart - start) / 1000.0;
    frame.ticks = drive.ticksThisFrame;
    frame.triangles = renderer.matRenderer().trianglesSubmitted;
    frames.push_back(frame);
  }
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

int runBench(const BenchSettings& settings) {
  ProgramParts parts = programParts();
  GhostLap lap;
  std::string why;
  if (!makeLap(settings, parts, lap, why)) {
    std::fprintf(stderr, "stravo: bench: no lap to drive: %s\n", why.c_str());
    return 1;
  }
  drive.lap = &lap;
  drive.ticksWanted = static_cast<long long>(lap.inputs.size());
  if (settings.ticks > 0) drive.ticksWanted = std::min(drive.ticksWanted, settings.ticks);
  drive.ticksDone = 0;

  // The menu's frame a player sees first takes up the time start-up left over.
  updateAndDraw();
  startDrive(parts, lap);
  std::vector<BenchFrame> frames;
  bool driven = driveFrames(*parts.renderer, frames);
  parts.context->beforeDrivingStep = nullptr;
  if (!driven) {
    std::fprintf(stderr, "stravo: bench: stopped before the lap's end\n");
    return 1;
  }
  if (!writeResults(settings, frames)) return 1;
  std::printf("%s\n", benchLine(summarizeBench(frames)).c_str());
  return 0;
}
