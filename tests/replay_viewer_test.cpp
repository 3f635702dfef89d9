#include "game/laps/replay_viewer.h"

#include "app/input_device.h"
#include "game/game_state.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>

namespace {

// Holds exactly the given keys down for the next pass over the viewer's keys.
struct Keys {
  InputDevice input{nullptr};
  ViewerCommand press(ReplayViewer& viewer, std::initializer_list<int> codes, bool menuVisible = false,
                      bool canPlay = true) {
    std::memset(input.keys, 0, sizeof(input.keys));
    for (int code : codes) input.keys[code] = 0x80;
    return handleViewerKeys(viewer, input, menuVisible, canPlay);
  }
};

constexpr int kLapTicks = 600;

ReplayViewer openAtStart() {
  ReplayViewer viewer;
  openViewer(viewer, kLapTicks);
  viewer.keyHeld = true;
  return viewer;
}

}  // namespace

TEST(ReplayViewer, PEntersOnlyWithTheMenuHiddenAndALapToPlay) {
  ReplayViewer viewer;
  Keys keys;
  EXPECT_EQ(keys.press(viewer, {kKeyToggleReplay}, true), ViewerCommand::kNone);
  keys.press(viewer, {});
  EXPECT_EQ(keys.press(viewer, {kKeyToggleReplay}, false, false), ViewerCommand::kNone);
  keys.press(viewer, {});
  // Steering while pressing P still opens it.
  EXPECT_EQ(keys.press(viewer, {kKeySlowerReplay, kKeyToggleReplay}), ViewerCommand::kEnter);
  // Held, it asks once.
  EXPECT_EQ(keys.press(viewer, {kKeyToggleReplay}), ViewerCommand::kNone);
}

TEST(ReplayViewer, PAndEscapeLeaveAfterARelease) {
  for (int key : {kKeyToggleReplay, kKeyToggleMenu}) {
    ReplayViewer viewer = openAtStart();
    Keys keys;
    EXPECT_EQ(keys.press(viewer, {kKeyToggleReplay}), ViewerCommand::kNone);  // still the opening press
    keys.press(viewer, {});
    EXPECT_EQ(keys.press(viewer, {key}), ViewerCommand::kLeave) << key;
  }
}

TEST(ReplayViewer, SpeedsHalveAndDoubleWithinAQuarterAndFour) {
  ReplayViewer viewer = openAtStart();
  Keys keys;
  keys.press(viewer, {});
  float seen[8];
  for (int i = 0; i < 4; ++i) {
    keys.press(viewer, {kKeySlowerReplay});
    keys.press(viewer, {kKeySlowerReplay});  // held: once
    keys.press(viewer, {});
    seen[i] = kReplaySpeeds[viewer.speed];
  }
  EXPECT_FLOAT_EQ(seen[0], 0.5f);
  EXPECT_FLOAT_EQ(seen[1], 0.25f);
  EXPECT_FLOAT_EQ(seen[3], 0.25f);
  for (int i = 0; i < 6; ++i) {
    keys.press(viewer, {kKeyFasterReplay});
    keys.press(viewer, {});
  }
  EXPECT_FLOAT_EQ(kReplaySpeeds[viewer.speed], 4.0f);
}

TEST(ReplayViewer, TicksFollowTheSpeedAndStopWhenPaused) {
  ReplayViewer viewer = openAtStart();
  // One second at normal speed is 75 ticks; at 1/4x each frame of 1/75 s
  // leaves a quarter tick, so a tick runs every fourth frame.
  int ticks = 0;
  for (int frame = 0; frame < 75; ++frame) ticks += replayTicksDue(viewer, kTickSeconds);
  EXPECT_NEAR(ticks, 75, 1);
  viewer.speed = 0;
  viewer.accumulator = 0.0f;
  int due[8];
  for (int& d : due) d = replayTicksDue(viewer, kTickSeconds);
  EXPECT_EQ(due[0] + due[1] + due[2] + due[3], 1);
  EXPECT_NEAR(replayAlpha(viewer), 0.0f, 0.3f);
  // Half a tick at normal speed: the drawn car stands half way to the next pose.
  viewer.speed = kReplayNormalSpeed;
  viewer.accumulator = 0.0f;
  ASSERT_EQ(replayTicksDue(viewer, 0.5f * kTickSeconds), 0);
  EXPECT_NEAR(replayAlpha(viewer), 0.5f, 1e-4f);
  Keys keys;
  keys.press(viewer, {});
  keys.press(viewer, {kKeyPauseReplay});
  EXPECT_TRUE(viewer.paused);
  EXPECT_EQ(replayTicksDue(viewer, 1.0f), 0);
  keys.press(viewer, {});
  keys.press(viewer, {kKeyPauseReplay});
  EXPECT_FALSE(viewer.paused);
}

TEST(ReplayViewer, TimePastTheLapsEndIsDropped) {
  ReplayViewer viewer = openAtStart();
  EXPECT_EQ(replayTicksDue(viewer, (kLapTicks + 0.5f) * kTickSeconds), kLapTicks);
  // The half tick left over would carry the drawn car past its last pose.
  EXPECT_EQ(replayAlpha(viewer), 0.0f);
}

TEST(ReplayViewer, TheLapEndsOnItsLastTickAndUpRestarts) {
  ReplayViewer viewer = openAtStart();
  viewer.speed = kReplaySpeedCount - 1;
  int total = 0;
  for (int frame = 0; frame < 400; ++frame) {
    int due = replayTicksDue(viewer, kTickSeconds);
    for (int i = 0; i < due; ++i) advanceViewer(viewer);
    total += due;
  }
  EXPECT_EQ(total, kLapTicks);
  EXPECT_EQ(viewer.tick, kLapTicks);
  float timer = 0.0f;  // the lap timer after the lap's ticks
  for (int i = 0; i < kLapTicks; ++i) timer += kTickSeconds;
  EXPECT_EQ(viewer.lapTime, timer);
  EXPECT_EQ(replayTicksDue(viewer, 1.0f), 0);
  Keys keys;
  keys.press(viewer, {});
  EXPECT_EQ(keys.press(viewer, {kKeyRestartReplay}), ViewerCommand::kRestart);
  rewindViewer(viewer);
  EXPECT_EQ(viewer.tick, 0);
  EXPECT_FLOAT_EQ(viewer.lapTime, kTickSeconds);
  EXPECT_EQ(viewer.speed, kReplaySpeedCount - 1);  // kept
}
