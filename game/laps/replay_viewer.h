#pragma once

#include "physics/vec3.h"

class InputDevice;

// The viewer's keys (scan codes): P opens and closes it, Space pauses it, Left
// and Right halve and double the speed, Up plays the lap again from its start.
constexpr int kKeyToggleReplay = 0x19;
constexpr int kKeyPauseReplay = 0x39;
constexpr int kKeySlowerReplay = 0xCB;
constexpr int kKeyFasterReplay = 0xCD;
constexpr int kKeyRestartReplay = 0xC8;

// Playback speeds, halved and doubled with Left and Right.
constexpr int kReplaySpeedCount = 5;
constexpr float kReplaySpeeds[kReplaySpeedCount] = {0.25f, 0.5f, 1.0f, 2.0f, 4.0f};
constexpr int kReplayNormalSpeed = 2;

// What the viewer's keys ask for in one update.
enum class ViewerCommand {
  kNone,
  kEnter,    // P with the menu hidden and a lap to play
  kLeave,    // P or Escape in the viewer
  kRestart,  // Up in the viewer
};

// The cameras as the drive left them, put back when the viewer closes.
struct SavedCameras {
  int cameraMode = 0;
  Vec3 chasePoint{0.0, 0.0, 0.0};
  Vec3 chasePointPrevious{0.0, 0.0, 0.0};
  Vec3 cameraPosition{0.0, 0.0, 0.0};
  float cameraYaw = 0.0f;
  float cameraPitch = 0.0f;
  float fieldOfView = 0.0f;
};

// The viewer's own clock: a lap played tick by tick at a chosen speed, with
// the fraction of a tick left over for drawing in between.
struct ReplayViewer {
  bool active = false;
  bool paused = false;
  int speed = kReplayNormalSpeed;  // index into kReplaySpeeds
  bool keyHeld = false;            // a viewer key was down in the previous update
  float accumulator = 0.0f;        // s of replay not yet simulated
  int tick = 0;                    // ticks of the lap played
  int lapTicks = 0;                // ticks in the lap being played
  float lapTime = 0.0f;            // s, the replayed lap's timer as the drive showed it
  SavedCameras saved;
};

struct GameState;

// The drive's cameras kept while the viewer is open, and put back.
void saveCameras(const GameState& state, SavedCameras& saved);
void restoreCameras(const SavedCameras& saved, GameState& state);

// The viewer's keys, one action per press (one latch for all of them, as the
// menu has). Closed: P opens it when the menu is hidden and `canPlay`. Open:
// P or Escape closes it, Space pauses or resumes, Left and Right halve and
// double the speed within 1/4x..4x, Up asks for a restart.
ViewerCommand handleViewerKeys(ReplayViewer& viewer, const InputDevice& input, bool menuVisible, bool canPlay);

// Opens the viewer on a lap of `lapTicks` ticks, at normal speed, unpaused, at
// its start.
void openViewer(ReplayViewer& viewer, int lapTicks);

// Back to the lap's start, speed and pause kept.
void rewindViewer(ReplayViewer& viewer);

// The replay ticks due after `frameInterval` seconds at the current speed
// (none while paused or once the lap is over). Call advanceViewer once for each
// tick run.
int replayTicksDue(ReplayViewer& viewer, float frameInterval);
void advanceViewer(ReplayViewer& viewer);

// The fraction of a tick between the last replay tick and the frame, 0..1.
float replayAlpha(const ReplayViewer& viewer);
