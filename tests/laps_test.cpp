#include "game/laps.h"

#include <gtest/gtest.h>

namespace {

constexpr float kTimeTol = 1e-3f;

// A start line across the x axis at the origin, heading 0: cones at x = +-6.
GameState lineAtOrigin() {
  GameState state;
  computeStartLine(state);
  return state;
}

// Drives `ticks` ticks at `position`.
void hold(GameState& state, const Vec3& position, int ticks, bool turbo = false) {
  for (int i = 0; i < ticks; ++i) timeLap(state, position, turbo);
}

const Vec3 kOnLine(0.0, 0.5, 0.0);
const Vec3 kFarAway(0.0, 0.5, 350.0);
const Vec3 kNearby(0.0, 0.5, 100.0);

}  // namespace

TEST(Laps, ConesStandAcrossTheStartHeading) {
  GameState state = lineAtOrigin();
  EXPECT_NEAR(state.startLineA.x, 6.0, 1e-6);
  EXPECT_NEAR(state.startLineB.x, -6.0, 1e-6);
  EXPECT_NEAR(state.startLineA.z, 0.0, 1e-6);
  EXPECT_DOUBLE_EQ(state.startLineA.y, 0.25);
}

TEST(Laps, FirstTouchStartsTheLapAndALaterOneCompletesIt) {
  GameState state = lineAtOrigin();
  hold(state, kNearby, 10);
  EXPECT_FALSE(state.lapRunning);
  hold(state, kOnLine, 1);
  EXPECT_TRUE(state.lapRunning);
  hold(state, kFarAway, 749);
  hold(state, kOnLine, 1);
  // 750 ticks of 1/75 s, counted from the tick after the first touch.
  EXPECT_NEAR(state.lastLapTime, 10.0f, kTimeTol);
  EXPECT_NEAR(state.bestTimes.entries[0], 10.0f, kTimeTol);
  EXPECT_NEAR(state.lapTime, kTickSeconds, 1e-6f);
}

TEST(Laps, TouchingTwiceWithin300MetresDoesNotCompleteALap) {
  GameState state = lineAtOrigin();
  hold(state, kOnLine, 1);
  hold(state, kNearby, 100);
  hold(state, kOnLine, 1);
  EXPECT_EQ(state.lastLapTime, 0.0f);
  EXPECT_EQ(state.bestTimes.entries[0], kEmptyLapTime);
  EXPECT_GT(state.lapTime, 1.0f);
}

TEST(Laps, TurboOnForOneTickMakesATurboLap) {
  GameState state = lineAtOrigin();
  hold(state, kOnLine, 1);
  hold(state, kFarAway, 1, true);
  EXPECT_TRUE(state.turboUsedThisLap);
  hold(state, kFarAway, 100, false);
  hold(state, kOnLine, 1);
  EXPECT_EQ(state.bestTimes.entries[0], kEmptyLapTime);
  EXPECT_LT(state.bestTimes.entries[5], kEmptyLapTime);
  // The new lap starts without the turbo mark and shows the best of its class.
  EXPECT_FALSE(state.turboUsedThisLap);
  hold(state, kFarAway, 1);
  EXPECT_EQ(state.bestShown, kEmptyLapTime);
  hold(state, kFarAway, 1, true);
  EXPECT_EQ(state.bestShown, state.bestTimes.entries[5]);
}
