#pragma once

// A drive on the game's own tick with the proof recorder beside it, as the
// game keeps it: the tests and the benchmark record laps with it and verify
// them. Drivers: a keyboard bot that follows the centre line with the arrow
// keys, or the runner's autopilot through the analog stick.

#include "app/input_device.h"
#include "app/scripted_input.h"
#include "game/laps/ghost_file.h"
#include "game/laps.h"
#include "game/laps/proof_recorder.h"
#include "game/laps/proof_verify.h"
#include "game/startup_models.h"
#include "game/update.h"
#include "physics/random.h"
#include "physics/world.h"
#include "tools/sim/autopilot.h"
#include "vehicle/car.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace proofdrive {

struct Drive {
  ProofTrack track;
  PhWorld world;
  PhCar* car = nullptr;
  ScriptedInput source;
  InputDevice input{&source};
  GameContext ctx;
  std::unique_ptr<GameState> state = std::make_unique<GameState>();
  ProofRecorder recorder;
  ProofCourse course;
  std::vector<LapProof> proofs;  // every lap completed, in order
  std::vector<float> lapTimes;   // as the lap timer gave them

  Drive() = default;
  Drive(const Drive&) = delete;
  Drive& operator=(const Drive&) = delete;
  ~Drive() { delete car; }
};

// The track in `dir` and the car built as start-up builds it, placed as
// start-up places it; the run starts there.
inline bool openDrive(const std::string& dir, Drive& d, std::string& why) {
  if (!loadProofTrack(dir, d.track, why)) return false;
  seedRandom(kStartupSeed);
  d.car = new PhCar();
  d.car->world = &d.world;
  d.car->input = &d.input;
  d.world.attachTree(d.track.tree);
  d.world.addBody(d.car);
  d.ctx.car = d.car;
  d.ctx.world = &d.world;
  d.ctx.input = &d.input;
  GameState& s = *d.state;
  s.startPosition = d.track.startPosition;
  s.startHeading = d.track.startHeading;
  computeStartLine(s);
  placeCarAtStart(d.ctx, s);
  s.menuVisible = false;
  setProofCourse(d.course, d.track.centreLine, d.track.startPosition);
  beginProofRun(d.recorder, ProofStart::StartUp);
  return true;
}

// The menu's restart: a new run.
inline void restart(Drive& d) {
  restartDrive(d.ctx, *d.state);
  beginProofRun(d.recorder, ProofStart::Restart);
}

// The R key.
inline void recover(Drive& d) {
  recoverCar(d.ctx, *d.state);
  noteProofRecovery(d.recorder);
}

// One driving tick with the keys and stick as the source holds them.
inline void tick(Drive& d) {
  LapEvent lap = Tick(d.ctx, *d.state);
  if (lap.completed) d.lapTimes.push_back(lap.lapTime);
  if (recordProofTick(d.recorder, d.course, captureGhostInput(d.input, *d.car), *d.car, lap)) {
    d.proofs.emplace_back();
    lapProofOf(d.recorder, d.track.circuit, d.proofs.back());
  }
  if (carIsLost(*d.car)) recover(d);
}

// The keyboard bot: the arrow keys toward a point `aheadPoints` points ahead on
// the centre line, moved `offset` metres to the right, held while the aim is
// further off the nose than `deadband`; throttle below `speed` (m/s). It looks
// again every `holdTicks` ticks, as fast as a person presses keys.
struct KeyboardBot {
  int aheadPoints = 12;
  double deadband = 0.1;
  double speed = 20.0;
  double offset = 0.0;
  int holdTicks = 6;  // a person's shortest key press, about 80 ms
  int held = 0;
  size_t nearest = 0;

  void drive(Drive& d) {
    if (held++ % holdTicks != 0) return;
    const TrackLine& line = d.track.centreLine;
    const PhCar& car = *d.car;
    const Vec3& p = car.current.position;
    nearest = nearestPoint(line, p);
    const Vec3& a = line.points[line.wrap((long long)nearest + aheadPoints)];
    const Vec3& b = line.points[line.wrap((long long)nearest + aheadPoints + 1)];
    Vec3 along = b - a;
    double n = std::sqrt(along.x * along.x + along.z * along.z);
    Vec3 aim(a.x - along.z / n * offset, 0.0, a.z + along.x / n * offset);
    Vec3 forward = localToWorld(car.current.orientation, Vec3(0.0, 0.0, -1.0), Vec3(0.0, 0.0, 0.0));
    double cross = forward.x * (aim.z - p.z) - forward.z * (aim.x - p.x);
    double ahead = forward.x * (aim.x - p.x) + forward.z * (aim.z - p.z);
    double side = cross / std::max(1.0, std::hypot(aim.x - p.x, aim.z - p.z));
    d.source.setKey(kKeyRight, side > deadband || ahead < 0.0);
    d.source.setKey(kKeyLeft, side < -deadband && ahead >= 0.0);
    d.source.setKey(kKeyThrottle, length(car.current.velocity) * 75.0 < speed);
  }
};

// `ticks` ticks with the keyboard bot.
inline void driveKeys(Drive& d, KeyboardBot& bot, int ticks) {
  for (int t = 0; t < ticks; ++t) {
    bot.drive(d);
    tick(d);
  }
}

// `ticks` ticks with the runner's autopilot on the stick (analog steering on).
inline void driveAutopilot(Drive& d, Autopilot& pilot, int ticks) {
  pilot.line = &d.track.centreLine;
  d.input.setAnalog(true);
  for (int t = 0; t < ticks; ++t) {
    StickReading stick = pilot.drive(*d.car);
    d.source.setAxis(0, stick.x);
    d.source.setAxis(1, stick.y);
    tick(d);
  }
}

}  // namespace proofdrive
