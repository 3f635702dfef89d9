#include "app/frame_timer.h"
#include "app/run_stats.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

constexpr float kTimeTol = 1e-4f;

// Runs `updates` updates of equal interval and render time.
void runUpdates(RunStats& stats, int updates, float interval, float render) {
  for (int i = 0; i < updates; ++i) countUpdateStart(stats, interval, render);
}

}  // namespace

TEST(RunStats, WarmUpFramesCountNeitherFramesNorRunningTime) {
  RunStats stats;
  runUpdates(stats, 75, 0.02f, 0.01f);
  EXPECT_TRUE(stats.warmUp);
  EXPECT_EQ(stats.frameCount, 75);
  EXPECT_EQ(stats.runningTime, 0.0f);
  EXPECT_NEAR(stats.renderTime, 0.75f, kTimeTol);

  // The 76th update ends the warm-up and is the first counted frame.
  countUpdateStart(stats, 0.02f, 0.01f);
  EXPECT_FALSE(stats.warmUp);
  EXPECT_EQ(stats.frameCount, 1);
  EXPECT_EQ(stats.runningTime, 0.02f);
  EXPECT_EQ(stats.renderTime, 0.01f);

  runUpdates(stats, 99, 0.02f, 0.01f);
  EXPECT_EQ(stats.frameCount, 100);
  EXPECT_NEAR(stats.runningTime, 2.0f, kTimeTol);
  // Reaching 75 again after the warm-up resets nothing.
  EXPECT_FALSE(stats.warmUp);
}

TEST(RunStats, LineHasTheExactFormatWithThePrintedRoundingOffset) {
  RunStats stats;
  stats.warmUp = false;
  stats.runningTime = 2.0f;
  stats.frameCount = 100;
  stats.gameTime = 0.5f;
  stats.renderTime = 1.5f;
  EXPECT_EQ(runStatsLine(stats),
            "Main: Running time=2.00s, Total frames=100, Average FPS=50.01 (game=25.00%, render=75.00%)");
}

TEST(RunStats, RunEndedInTheWarmUpPrintsZerosNotInfOrNan) {
  RunStats stats;
  runUpdates(stats, 40, 0.02f, 0.01f);
  stats.gameTime = 0.3f;
  EXPECT_EQ(runStatsLine(stats),
            "Main: Running time=0.00s, Total frames=40, Average FPS=0.00 (game=0.00%, render=0.00%)");
}

TEST(RunStats, GameTimeSurvivesTheEndOfTheWarmUp) {
  RunStats stats;
  stats.gameTime = 1.25f;
  runUpdates(stats, 76, 0.02f, 0.01f);
  EXPECT_EQ(stats.gameTime, 1.25f);
}

TEST(FrameTimer, MarksMeasureElapsedTimeOnTheCounter) {
  FrameTimer timer;
  ASSERT_TRUE(timer.create());
  timer.mark(0);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  timer.mark(1);
  float sinceUpdate = timer.since(0);
  EXPECT_GE(sinceUpdate, 0.019f);
  EXPECT_LT(sinceUpdate, 1.0f);
  EXPECT_LT(timer.since(1), sinceUpdate);

  // The timing hooks read both marks before the update mark moves.
  RunStats stats;
  float interval = beginUpdateTiming(stats, timer);
  EXPECT_GE(interval, 0.019f);
  EXPECT_EQ(stats.frameInterval, interval);
  EXPECT_LT(timer.since(0), 0.01f);
  EXPECT_GT(stats.renderTime, 0.0f);
  EXPECT_LT(stats.renderTime, interval);
  endUpdateTiming(stats, timer);
  EXPECT_GE(stats.gameTime, 0.0f);
  beginRenderTiming(timer);
  EXPECT_LT(timer.since(1), 0.01f);
}
