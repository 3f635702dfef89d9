#pragma once

#include <string>

struct FrameTimer;

// Run statistics kept at fixed points of every frame. The first 75 updates
// (the start-up's silent updates included) are the warm-up: they count neither
// into the frame count nor into the running time.
struct RunStats {
  static constexpr int kWarmUpFrames = 75;

  float frameInterval = 0.0f;  // s, from the previous update's start to this one's
  int frameCount = 0;
  bool warmUp = true;
  float runningTime = 0.0f;  // s, after the warm-up
  float gameTime = 0.0f;     // s spent in updates, warm-up included
  float renderTime = 0.0f;   // s spent rendering, swapping and handling messages
};

// The counting done at the start of an update, given the time since the
// previous update started and the time since the previous render started.
void countUpdateStart(RunStats& stats, float frameInterval, float sinceRender);

// Start of UpdateFrame: reads both marks, marks the update start (mark 0) and
// counts. Returns the frame interval, which the fixed-step accumulator grows by.
float beginUpdateTiming(RunStats& stats, FrameTimer& timer);

// End of an UpdateFrame that returns true: the game time grows by the update's length.
void endUpdateTiming(RunStats& stats, const FrameTimer& timer);

// Start of RenderFrame: marks the render start (mark 1).
void beginRenderTiming(FrameTimer& timer);

// The closing statistics line. With no running time (a run ended within the
// warm-up) the rate and the shares are undefined and print as 0.00.
std::string runStatsLine(const RunStats& stats);
