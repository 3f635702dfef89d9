#pragma once

#include "game/best_times.h"
#include "game/car_shadow.h"
#include "game/laps/replay_viewer.h"
#include "game/laps/timing_aids.h"
#include "game/save_notice.h"
#include "game/skid_marks.h"
#include "game/tick.h"
#include "game/trip_stats.h"
#include "physics/mat4.h"
#include "physics/vec3.h"

struct Ghosts;
struct ReplayPlayer;
class InputDevice;
class PhCar;
class PhWorld;
struct GameState;

constexpr float kDegToRad = 0.017453292f;
constexpr float kRadToDeg = 57.295776f;

// Keyboard scan codes (DirectInput numbering) read by the game logic, named
// for what they do.
constexpr int kKeyToggleMenu = 0x01;   // Escape
constexpr int kKeyChooseItem = 0x1C;   // Enter
constexpr int kKeyMenuUp = 0xC8;       // the arrow keys
constexpr int kKeyMenuDown = 0xD0;
constexpr int kKeyMenuLeft = 0xCB;
constexpr int kKeyMenuRight = 0xCD;
constexpr int kKeyRecover = 0x13;      // R
constexpr int kKeyFirstCamera = 0x02;  // 1; the cameras are 1..4, 0x02..0x05
constexpr int kKeyLogFrame = 0x58;     // F12

// Menu layout: items 0-1 are actions, 2 is never selectable, 3-6 are on/off
// switches whose values live in menuOptions[item - 3].
constexpr int kMenuRestart = 0;
constexpr int kMenuQuit = 1;
constexpr int kMenuFirstOption = 3;
constexpr int kMenuLastItem = 6;
constexpr int kMenuOptionCount = 4;

// The program-wide objects the update reads and writes. The shell fills it once
// after creating them; the headless runner fills it with its own car and world.
struct GameContext {
  PhCar* car = nullptr;
  PhWorld* world = nullptr;
  InputDevice* input = nullptr;
  // The renderer's switch for refreshing the car's reflections every frame;
  // null when nothing is drawn.
  bool* alwaysUpdateCubemaps = nullptr;
  // Sets the sound channels from the car once per update; volume is 0 while the
  // menu is shown. Null when there is no sound.
  void (*updateSounds)(PhCar& car, float volume) = nullptr;
  // Told of the car after every tick that stepped it (never with the menu
  // shown), for telemetry. Null when nobody listens.
  void (*afterDrivingTick)(const PhCar& car, const GameState& state) = nullptr;
  // Called in every driving tick between the input's update and the world's
  // step, to drive the car from a program (the benchmark). Null for the player.
  void (*beforeDrivingStep)(PhCar& car, InputDevice& input) = nullptr;
  // Lap recording, best-lap ghost files and the ghost car; null for none.
  Ghosts* ghosts = nullptr;
  // The replay viewer's car (with the ghosts, key P); null for no viewer.
  ReplayPlayer* replay = nullptr;
};

// Everything the game logic keeps between updates. Angles in degrees unless the
// name says radians; times in seconds.
struct GameState {
  // Frame and menu.
  float stepAccumulator = 0.0f;  // time not yet simulated
  bool menuVisible = true;
  int menuCursor = 0;
  bool menuKeyHeld = false;  // one latch shared by every menu key
  int menuOptions[kMenuOptionCount] = {1, 1, 0, 1};  // 0 switches a feature on
  int cameraMode = 0;
  bool resetRequested = false;

  // Lap timing.
  float lapTime = 0.0f;
  float lastLapTime = 0.0f;
  uint32_t lapTicks = 0;  // ticks timed of the running lap, as lapTime counts them
  bool lapRunning = false;
  bool lineLatched = false;  // touched the line and not yet 300 m away
  bool turboUsedThisLap = false;
  float bestShown = kEmptyLapTime;

  // Start position from the prop file and the two cones of the start line.
  Vec3 startPosition{0.0, 0.0, 0.0};
  float startHeading = 0.0f;
  Vec3 startLineA{0.0, 0.0, 0.0};
  Vec3 startLineB{0.0, 0.0, 0.0};

  // Cameras.
  Vec3 chasePoint{0.0, 0.0, 0.0};
  Vec3 chasePointPrevious{0.0, 0.0, 0.0};
  float orbitAngle = 0.0f;  // radians
  Vec3 orbitPoint{0.0, 0.0, 0.0};
  Vec3 orbitPointPrevious{0.0, 0.0, 0.0};
  Vec3 orbitDrawn{0.0, 0.0, 0.0};
  Vec3 cameraPosition{0.0, 0.0, 0.0};
  float cameraYaw = -70.0f;
  float cameraPitch = 0.0f;
  float fieldOfView = 55.0f;

  // Sound.
  float masterVolume = 1.0f;
  float volumeNow = 0.0f;

  BestTimes bestTimes;
  TripStats trip;
  SkidMarks skids;
  CarShadow shadow;
  TimingAids timing;
  ReplayViewer viewer;
  SaveNotice saveNotice;

  // The view handed to the renderer, which keeps references to both.
  Vec3 viewEye{0.0, 0.0, 0.0};
  Mat4 viewRotation = identityMat4();
};
