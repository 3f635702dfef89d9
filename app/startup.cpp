#include "app/startup.h"

#include "app/frame_timer.h"
#include "app/log.h"
#include "app/run_stats.h"
#include "physics/random.h"

#include <GL/gl.h>

#include <chrono>
#include <thread>

namespace {

// The program-wide objects, created by Init and freed by Cleanup.
struct Program {
  AppConfig config;
  FrameTimer* timer = nullptr;
  RunStats stats;
};

Program program;

const uint32_t kRandomSeed = 345;
const int kWarmUpUpdates = 3;
const auto kWarmUpPause = std::chrono::milliseconds(100);

void createFrameTimer() {
  program.timer = new FrameTimer;
  program.timer->create();
}

void startClocks() {
  program.timer->mark(0);
  program.timer->mark(1);
  program.stats = RunStats();
}

// Three updates with the menu hidden and the sound at 0: the car settles on
// the track before the first frame is drawn.
void warmUp() {
  for (int i = 0; i < kWarmUpUpdates; ++i) {
    updateFrame();
    std::this_thread::sleep_for(kWarmUpPause);
  }
}

void freeFrameTimer() {
  delete program.timer;
  program.timer = nullptr;
}

}  // namespace

bool Init(const AppConfig& config) {
  program.config = config;
  openLog();
  seedRandom(kRandomSeed);
  createFrameTimer();
  logLine("Main: Init done");
  startClocks();
  setLogging(false);
  warmUp();
  return true;
}

bool updateFrame() {
  beginUpdateTiming(program.stats, *program.timer);
  endUpdateTiming(program.stats, *program.timer);
  return true;
}

void renderFrame() {
  beginRenderTiming(*program.timer);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void onQuitEvent() {}

void Cleanup() {
  logLine("Main: Cleaning up");
  freeFrameTimer();
  logLine("%s", runStatsLine(program.stats).c_str());
}
