#include "game/update.h"

#include "app/failed_saves.h"
#include "app/input_device.h"
#include "app/log.h"
#include "game/cameras.h"
#include "game/car_placement.h"
#include "game/laps/ghosts.h"
#include "game/laps/timing_ghosts.h"
#include "game/laps.h"
#include "game/menu.h"
#include "game/prop_file.h"
#include "game/laps/replay_player.h"
#include "physics/world.h"
#include "vehicle/car.h"

#include <cmath>

namespace {

// Beyond this square, or this far down, the car has left the track for good.
constexpr double kWorldHalfSize = 290.0;
constexpr double kLowestY = -7.0;

const Vec3 kZero(0.0, 0.0, 0.0);

// A value of 0 switches a feature on, 1 off.
void applyMenuOptions(const GameContext& ctx, const GameState& state) {
  ctx.input->setAnalog(state.menuOptions[0] != 1);
  ctx.car->turbo = state.menuOptions[1] != 1;
  ctx.car->autoGearbox = state.menuOptions[2] != 1;
  if (ctx.alwaysUpdateCubemaps != nullptr) *ctx.alwaysUpdateCubemaps = state.menuOptions[3] != 1;
}

void selectCameraMode(const InputDevice& input, GameState& state) {
  for (int mode = 0; mode < 4; ++mode)
    if (input.isDown(kKeyFirstCamera + mode)) state.cameraMode = mode;
}

void placeShadowUnderCar(const PhCar& car, GameState& state) {
  ShadowWheel wheels[kShadowVertices];
  for (int k = 0; k < kShadowVertices; ++k)
    wheels[k] = {car.wheels[k].mount, car.wheels[k].radius, car.wheels[k].suspensionLength};
  placeShadow(state.shadow, wheels, car.drawn.orientation, car.drawn.position);
}

void laySkids(const PhCar& car, GameState& state) {
  SkidWheel wheels[kSkidWheels];
  for (int i = 0; i < kSkidWheels; ++i)
    wheels[i] = {car.wheels[i].hub, car.wheels[i].radius, car.wheels[i].gripRatio, car.wheels[i].load};
  laySkidMarks(state.skids, wheels, car.current.orientation, car.current.velocity);
}

// The player's car geometry shows the replayed car; the drive's next update
// interpolates the player's own pose again.
void showReplayedCar(PhCar& car, const PhCar& replayed) {
  car.drawn = replayed.drawn;
  for (int i = 0; i < 4; ++i) car.wheels[i].drawn = replayed.wheels[i].drawn;
}

// The replay viewer's part of an update. Returns true when the viewer is open
// and has done the whole update; false when the drive's update runs (the
// viewer closed, or closed just now, after its ticks were spent).
bool replayUpdate(const GameContext& ctx, GameState& state, float frameInterval) {
  if (ctx.replay == nullptr || ctx.ghosts == nullptr) return false;
  ReplayViewer& viewer = state.viewer;
  const GhostLap* lap = viewer.active ? ctx.replay->lap : lapToReplay(*ctx.ghosts, lapClassOf(ctx.car->turbo));
  ViewerCommand command = handleViewerKeys(viewer, *ctx.input, state.menuVisible, lap != nullptr);
  if (!viewer.active && command != ViewerCommand::kEnter) return false;
  if (command == ViewerCommand::kEnter) {
    saveCameras(state, viewer.saved);
    openViewer(viewer, int(lap->inputs.size()));
  } else if (command == ViewerCommand::kRestart) {
    rewindViewer(viewer);
  }
  if (command == ViewerCommand::kEnter || command == ViewerCommand::kRestart)
    startReplay(*ctx.replay, *ctx.ghosts, *lap);

  // The drive stands still as under the menu: its ticks only read the input.
  while (state.stepAccumulator >= kTickSeconds) {
    ctx.input->update();
    state.stepAccumulator -= kTickSeconds;
  }
  if (command == ViewerCommand::kLeave) {
    viewer.active = false;
    restoreCameras(viewer.saved, state);
    // Escape that closed the viewer must not open the menu as well.
    if (ctx.input->isDown(kKeyToggleMenu)) state.menuKeyHeld = true;
    return false;
  }

  PhCar& replayed = *replayCar(*ctx.replay);
  for (int due = replayTicksDue(viewer, frameInterval); due > 0; --due) {
    stepReplay(*ctx.replay);
    advanceViewer(viewer);
    chaseTick(state, replayed.current.position, replayed.current.velocity, replayed.current.orientation);
  }
  float alpha = replayAlpha(viewer);
  replayed.InterpolateForDrawing(alpha);
  showReplayedCar(*ctx.car, replayed);
  interpolateCameras(state, alpha);
  placeShadowUnderCar(replayed, state);
  selectCameraMode(*ctx.input, state);
  placeCamera(state, replayed.drawn.position, replayed.drawn.orientation);
  state.volumeNow = state.masterVolume;
  if (ctx.updateSounds != nullptr) ctx.updateSounds(replayed, state.volumeNow);
  const PhCar& car = *ctx.car;
  sampleTripStats(state.trip, car.current.velocity, car.previous.velocity, car.current.orientation);
  return true;
}

// Menu item "quit": the trip statistics and the best times, with the log on.
void endRun(GameState& state) {
  setLogging(true);
  logTripStats(state.trip);
  saveBestTimes(kBestTimesFile, state.bestTimes);
}

}  // namespace

// Out of the square around the track, fallen through it, or on its roof. A
// position that is not a number fails every comparison, so it counts as lost
// too rather than leaving the car stranded for the rest of the run.
bool carIsLost(const PhCar& car) {
  const Vec3& p = car.current.position;
  if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return true;
  if (p.x < -kWorldHalfSize || p.x > kWorldHalfSize || p.z < -kWorldHalfSize || p.z > kWorldHalfSize ||
      p.y < kLowestY)
    return true;
  Vec3 up = localToWorld(car.current.orientation, Vec3(0.0, 1.0, 0.0), kZero);
  return up.y < 0.0;
}


void placeCarAtStart(const GameContext& ctx, GameState& state) {
  placeCarAsBuilt(*ctx.car, state.startPosition, state.startHeading);
}

void beginGame(const GameContext& ctx, GameState& state, const char* bestTimesPath) {
  state.cameraPosition = ctx.car->current.position + Vec3(0.0, 3.0, 9.0);
  state.trip.statsTimer = 0.0f;
  state.menuVisible = true;
  state.menuCursor = 0;
  const int startOptions[kMenuOptionCount] = {1, 1, 0, 1};
  for (int i = 0; i < kMenuOptionCount; ++i) state.menuOptions[i] = startOptions[i];
  loadBestTimes(bestTimesPath, state.bestTimes);
}

void restartDrive(const GameContext& ctx, GameState& state) {
  state.menuVisible = false;
  placeCarAtRestart(*ctx.car, state.startPosition, state.startHeading);
  // The turbo mark of the lap stays: a restart does not clear it.
  stopLap(state);
  if (ctx.ghosts != nullptr) restartGhosts(*ctx.ghosts);
}

void recoverCar(const GameContext& ctx, GameState& state) {
  placeCarAtRecoveryPoint(*ctx.car, state.startHeading);
  stopLap(state);
  state.resetRequested = false;
  if (ctx.ghosts != nullptr) resetGhosts(*ctx.ghosts);
}

bool saveBestTimesOnClose(const GameState& state, const char* bestTimesPath) {
  return saveBestTimes(bestTimesPath, state.bestTimes);
}

LapEvent Tick(const GameContext& ctx, GameState& state) {
  ctx.input->update();
  if (state.menuVisible) {
    orbitTick(state);
    return LapEvent{};
  }
  PhCar& car = *ctx.car;
  if (ctx.beforeDrivingStep != nullptr) ctx.beforeDrivingStep(car, *ctx.input);
  ctx.world->step();
  addTripDistance(state.trip, car.current.position, car.previous.position);
  laySkids(car, state);
  LapEvent lap = timeLap(state, car.current.position, car.turbo);
  if (ctx.ghosts != nullptr) {
    ghostsAfterTick(*ctx.ghosts, *ctx.input, car, lap);
    takeGhostReferences(state.timing, *ctx.ghosts);
  }
  saveNoticeTick(state.saveNotice, failedSaveCount());
  timingTick(state.timing, lap, state, car.previous.position, car.current.position);
  chaseTick(state, car.current.position, car.current.velocity, car.current.orientation);
  if (ctx.afterDrivingTick != nullptr) ctx.afterDrivingTick(car, state);
  return lap;
}

bool UpdateFrame(const GameContext& ctx, GameState& state, float frameInterval) {
  PhCar& car = *ctx.car;
  state.stepAccumulator += frameInterval;
  if (replayUpdate(ctx, state, frameInterval)) return true;

  switch (handleMenuKeys(state, *ctx.input)) {
    case MenuAction::kRestart:
      restartDrive(ctx, state);
      break;
    case MenuAction::kOptionsChanged:
      applyMenuOptions(ctx, state);
      break;
    case MenuAction::kQuit:
      endRun(state);
      return false;
    case MenuAction::kNone:
      break;
  }
  if (ctx.ghosts != nullptr) handleGhostKey(*ctx.ghosts, *ctx.input);

  // No cap: after a stall every tick the elapsed time asks for runs now.
  while (state.stepAccumulator >= kTickSeconds) {
    Tick(ctx, state);
    state.stepAccumulator -= kTickSeconds;
  }

  float alpha = state.stepAccumulator * kTicksPerSecond;
  car.InterpolateForDrawing(alpha);
  if (ctx.ghosts != nullptr) interpolateGhost(*ctx.ghosts, alpha);
  interpolateCameras(state, alpha);
  placeShadowUnderCar(car, state);

  if (carIsLost(car)) state.resetRequested = true;
  if (ctx.input->isDown(kKeyRecover) || state.resetRequested) recoverCar(ctx, state);

  selectCameraMode(*ctx.input, state);
  handleTimingKey(state.timing, *ctx.input, state.menuVisible);
  placeCamera(state, car.drawn.position, car.drawn.orientation);

  state.volumeNow = state.menuVisible ? 0.0f : state.masterVolume;
  if (ctx.updateSounds != nullptr) ctx.updateSounds(car, state.volumeNow);

  // F12 logs this update and the next frame's drawing.
  if (ctx.input->isDown(kKeyLogFrame)) setLogging(true);

  sampleTripStats(state.trip, car.current.velocity, car.previous.velocity, car.current.orientation);
  return true;
}
