#include "app/run_stats.h"

#include "app/frame_timer.h"

#include <cstdio>

namespace {
const int kUpdateMark = 0;
const int kRenderMark = 1;
}  // namespace

void countUpdateStart(RunStats& stats, float frameInterval, float sinceRender) {
  stats.frameInterval = frameInterval;
  if (stats.frameCount == RunStats::kWarmUpFrames && stats.warmUp) {
    stats.frameCount = 0;
    stats.renderTime = 0.0f;
    stats.warmUp = false;
  }
  stats.frameCount += 1;
  if (!stats.warmUp) stats.runningTime += frameInterval;
  stats.renderTime += sinceRender;
}

float beginUpdateTiming(RunStats& stats, FrameTimer& timer) {
  float sinceRender = timer.since(kRenderMark);
  float frameInterval = timer.since(kUpdateMark);
  timer.mark(kUpdateMark);
  countUpdateStart(stats, frameInterval, sinceRender);
  return frameInterval;
}

void endUpdateTiming(RunStats& stats, const FrameTimer& timer) { stats.gameTime += timer.since(kUpdateMark); }

void beginRenderTiming(FrameTimer& timer) { timer.mark(kRenderMark); }

std::string runStatsLine(const RunStats& stats) {
  double fps = 0.0, gameShare = 0.0, renderShare = 0.0;
  if (stats.runningTime > 0.0f) {
    // Single-precision arithmetic as the values are kept; the 0.005 is part of
    // the printed rate.
    float perSecond = 1.0f / (stats.runningTime / float(stats.frameCount));
    fps = double(perSecond) + 0.005;
    gameShare = double(stats.gameTime * (1.0f / stats.runningTime) * 100.0f);
    renderShare = double(stats.renderTime * (1.0f / stats.runningTime) * 100.0f);
  }
  char line[256];
  std::snprintf(line, sizeof line,
                "Main: Running time=%.2fs, Total frames=%i, Average FPS=%.2f (game=%.2f%%, render=%.2f%%)",
                double(stats.runningTime), stats.frameCount, fps, gameShare, renderShare);
  return line;
}
