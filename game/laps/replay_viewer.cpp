#include "game/laps/replay_viewer.h"

#include "app/input_device.h"
#include "game/game_state.h"

namespace {

// The camera fields the viewer borrows, from the drive to its keeping or back;
// both sides name them alike.
template <typename From, typename To>
void copyCameras(const From& from, To& to) {
  to.cameraMode = from.cameraMode;
  to.chasePoint = from.chasePoint;
  to.chasePointPrevious = from.chasePointPrevious;
  to.cameraPosition = from.cameraPosition;
  to.cameraYaw = from.cameraYaw;
  to.cameraPitch = from.cameraPitch;
  to.fieldOfView = from.fieldOfView;
}

}  // namespace

void saveCameras(const GameState& state, SavedCameras& saved) { copyCameras(state, saved); }

void restoreCameras(const SavedCameras& saved, GameState& state) { copyCameras(saved, state); }

void openViewer(ReplayViewer& viewer, int lapTicks) {
  viewer.active = true;
  viewer.paused = false;
  viewer.speed = kReplayNormalSpeed;
  viewer.lapTicks = lapTicks;
  rewindViewer(viewer);
}

void rewindViewer(ReplayViewer& viewer) {
  viewer.accumulator = 0.0f;
  viewer.tick = 0;
  // The lap starts on the tick that touched the line, which the timer counted.
  viewer.lapTime = kTickSeconds;
}

ViewerCommand handleViewerKeys(ReplayViewer& viewer, const InputDevice& input, bool menuVisible, bool canPlay) {
  bool fresh = !viewer.keyHeld;
  if (!viewer.active) {
    // Closed, only P counts: steering with Left while pressing P still opens it.
    bool down = input.isDown(kKeyToggleReplay);
    viewer.keyHeld = down;
    return down && fresh && !menuVisible && canPlay ? ViewerCommand::kEnter : ViewerCommand::kNone;
  }
  ViewerCommand command = ViewerCommand::kNone;
  bool anyKey = false;
  auto pressed = [&](int key) {
    bool down = input.isDown(key);
    anyKey = anyKey || down;
    return down && fresh;
  };
  if (pressed(kKeyToggleReplay) | pressed(kKeyToggleMenu)) command = ViewerCommand::kLeave;
  if (pressed(kKeyPauseReplay)) viewer.paused = !viewer.paused;
  if (pressed(kKeySlowerReplay) && viewer.speed > 0) viewer.speed -= 1;
  if (pressed(kKeyFasterReplay) && viewer.speed < kReplaySpeedCount - 1) viewer.speed += 1;
  if (pressed(kKeyRestartReplay) && command == ViewerCommand::kNone) command = ViewerCommand::kRestart;
  viewer.keyHeld = anyKey;
  return command;
}

int replayTicksDue(ReplayViewer& viewer, float frameInterval) {
  if (viewer.paused || viewer.tick >= viewer.lapTicks) return 0;
  viewer.accumulator += frameInterval * kReplaySpeeds[viewer.speed];
  int due = 0;
  while (viewer.accumulator >= kTickSeconds && viewer.tick + due < viewer.lapTicks) {
    viewer.accumulator -= kTickSeconds;
    due += 1;
  }
  // The lap is over: the last pose stays on screen.
  if (viewer.tick + due >= viewer.lapTicks) viewer.accumulator = 0.0f;
  return due;
}

void advanceViewer(ReplayViewer& viewer) {
  viewer.tick += 1;
  // The last tick touches the line: the timer stops at the lap's time.
  if (viewer.tick < viewer.lapTicks) viewer.lapTime += kTickSeconds;
}

float replayAlpha(const ReplayViewer& viewer) {
  float alpha = viewer.accumulator * kTicksPerSecond;
  return alpha < 1.0f ? alpha : 0.999f;
}
