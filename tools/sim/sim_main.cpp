// stravo-sim: the car on the track without a window, driven by a script, a
// replay or the autopilot, for tests, benchmarks and tuning.

#include "app/failed_saves.h"
#include "app/files.h"
#include "app/fnv1a.h"
#include "app/http_client.h"
#include "app/outgauge_feed.h"
#include "game/laps/ghost_files.h"
#include "game/laps/ghosts.h"
#include "game/laps/sector_splits.h"
#include "game/laps/timing_ghosts.h"
#include "game/time_display.h"
#include "game/update.h"
#include "tools/sim/autopilot.h"
#include "tools/sim/sim_board.h"
#include "tools/sim/sim_options.h"
#include "tools/sim/sim_world.h"
#include "tools/sim/telemetry.h"
#include "tools/sim/verify_ghosts.h"
#include "vehicle/replay.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Exit codes, listed in README.md.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;         // a data set that does not load, a file not read or written
constexpr int kExitUsage = 2;          // bad options, an input script not read or parsed
constexpr int kExitGhostRefused = 3;   // --ghost or --verify-ghost given a lap that is refused
constexpr int kExitNotFinite = 4;      // the car's state stopped being finite

// Reads and parses the input script; prints the offending line on failure.
bool loadScript(const std::string& path, std::vector<InputEvent>& events) {
  std::vector<unsigned char> bytes;
  std::string why;
  if (!readWholeFile(path.c_str(), kMaxTextFileBytes, bytes, why)) {
    std::fprintf(stderr, "stravo-sim: cannot read input script %s: %s\n", path.c_str(), why.c_str());
    return false;
  }
  int line = 0;
  if (!parseInputScript(bytes.data(), bytes.size(), events, line, why)) {
    std::fprintf(stderr, "stravo-sim: %s:%d: %s\n", path.c_str(), line, why.c_str());
    return false;
  }
  return true;
}

// The centre line; `required` (the autopilot) reports a missing or bad one.
bool loadTrackLine(const std::string& dir, TrackLine& line, bool required = true) {
  std::string path = platformPath((dir + "\\data\\track.line").c_str());
  std::vector<unsigned char> bytes;
  std::string why;
  if (!readWholeFile(path.c_str(), kMaxTextFileBytes, bytes, why)) {
    if (required) std::fprintf(stderr, "stravo-sim: the autopilot needs %s: %s\n", path.c_str(), why.c_str());
    return false;
  }
  int badLine = 0;
  if (!parseTrackLine(bytes.data(), bytes.size(), line, badLine, why)) {
    if (required) std::fprintf(stderr, "stravo-sim: %s:%d: %s\n", path.c_str(), badLine, why.c_str());
    return false;
  }
  return true;
}

struct SectorTimes {
  float seconds[kSectorCount];
};

// --verify-ghost: each file against DIR's track, its run driven again.
int verifyGhosts(const SimWorld& sim, const std::string& dir, const std::vector<std::string>& paths) {
  ProofTrack track;
  ghostProofTrack(sim.ghosts, sim.state, dir + "\\", track);
  return verifyGhostFiles(track, paths) ? kExitOk : kExitGhostRefused;
}

// --ghost: the lap in the file, read as the game reads its ghosts (a proof
// driven again, or a local ghost of the older format), drives alongside as
// the ghost car of its class and stays the reference of the delta and the
// split points for the whole run, in either class, whatever laps are driven
// meanwhile.
bool driveAgainstGhost(SimWorld& sim, const std::string& dir, const std::string& path, std::string& why) {
  ProofTrack track;
  ghostProofTrack(sim.ghosts, sim.state, dir + "\\", track);
  GhostLap lap;
  if (!readGhostFile(path, track, lap, why)) return false;
  takeGhostLap(sim.ghosts, lap);
  sim.ghosts.shown = true;
  LapPath reference = lapPathOfGhost(lap);
  for (LapClass lapClass : kLapClasses) setTimingReference(sim.state.timing, lapClass, reference, lap.lapTime);
  return true;
}

// What the summary reports about the whole run.
struct RunTotals {
  long long ticks = 0;
  double distance = 0.0;  // m
  double topSpeed = 0.0;  // km/h
  int recoveries = 0;
  long long offRoadWheelTicks = 0;  // wheel-ticks on any surface but the road's
  std::vector<float> laps;          // s
  std::vector<SectorTimes> sectors;  // of each lap, in order
  long long ghostTicks = -1;        // ticks the ghost car was out; -1 without --ghost
  uint64_t trajectory = kFnv1aOffset;  // FNV-1a of every tick's body state
};

SectorTimes lapSectors(const TimingAids& aids) {
  SectorTimes t;
  for (int i = 0; i < kSectorCount; ++i) t.seconds[i] = aids.lastLapSectors[i];
  return t;
}

// Closes the telemetry file; one that could not be written whole (a full disk,
// a write error) is reported as a failed save. `file` is null afterwards.
void closeTelemetry(FILE*& file, const std::string& path) {
  bool whole = !std::ferror(file);
  int error = errno;
  if (std::fclose(file) != 0 && whole) {
    whole = false;
    error = errno;
  }
  file = nullptr;
  if (!whole) reportFailedSave(path.c_str(), std::strerror(error));
}

bool finite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

// Every value that carries from one tick to the next through the body.
bool stateIsFinite(const PhCar& car) {
  if (!finite(car.current.position) || !finite(car.current.velocity)) return false;
  for (float e : car.current.orientation.m)
    if (!std::isfinite(e)) return false;
  for (float e : car.current.angularStep.m)
    if (!std::isfinite(e)) return false;
  return std::isfinite(car.rpm) && std::isfinite(car.throttle) && std::isfinite(car.steer);
}

// The three sectors of lap `n`, adding up to the lap as printed; `-` for a
// sector not timed (a split point missed, or none known).
void printSectors(size_t n, const float sectors[kSectorCount], float lap) {
  long hundredths[kSectorCount];
  if (!sectorHundredths(sectors, lap, hundredths)) {
    std::printf("sectors %zu: - - -\n", n);
    return;
  }
  std::printf("sectors %zu: %ld.%02ld %ld.%02ld %ld.%02ld\n", n, hundredths[0] / 100, hundredths[0] % 100,
              hundredths[1] / 100, hundredths[1] % 100, hundredths[2] / 100, hundredths[2] % 100);
}

void printSummary(const RunTotals& totals, const PhCar& car) {
  const Vec3& p = car.current.position;
  std::printf("ticks: %lld\n", totals.ticks);
  std::printf("distance: %.1f m\n", totals.distance);
  std::printf("top speed: %.1f km/h\n", totals.topSpeed);
  std::printf("final position: %.3f %.3f %.3f\n", p.x, p.y, p.z);
  for (size_t i = 0; i < totals.laps.size(); ++i) {
    std::printf("lap %zu: %s\n", i + 1, lapTimeText(totals.laps[i]).c_str());
    printSectors(i + 1, totals.sectors[i].seconds, totals.laps[i]);
  }
  std::printf("recoveries: %d\n", totals.recoveries);
  std::printf("off-road wheel ticks: %lld\n", totals.offRoadWheelTicks);
  std::printf("trajectory: %016llx\n", (unsigned long long)totals.trajectory);
  if (totals.ghostTicks >= 0) std::printf("ghost ticks: %lld\n", totals.ghostTicks);
}

}  // namespace

int main(int argc, char** argv) {
  SimOptions opts;
  std::string why;
  if (!parseSimOptions(argc, argv, opts, why)) {
    std::fprintf(stderr, "stravo-sim: %s\n%s\n", why.c_str(), simUsage());
    return kExitUsage;
  }
  if (!opts.helpText.empty()) {
    std::fputs(opts.helpText.c_str(), stdout);
    return 0;
  }

  ScriptPlayer script;
  if (!opts.inputPath.empty() && !loadScript(opts.inputPath, script.events)) return kExitUsage;

  SimWorld sim;
  if (!openSimWorld(opts.dir, sim, why)) {
    std::fprintf(stderr, "stravo-sim: %s\n", why.c_str());
    return kExitFailed;
  }
  if (!opts.verifyGhostPaths.empty()) return verifyGhosts(sim, opts.dir, opts.verifyGhostPaths);
  if (!opts.board.empty()) {
    if (!startHttp(why)) {
      std::fprintf(stderr, "stravo-sim: %s\n", why.c_str());
      return kExitFailed;
    }
    return runBoardExchange(sim, opts);
  }
  // The timing aids' reference is the lap given with --ghost, never a best lap
  // left in the folder by an earlier run: a run's output depends on its options.
  sim.state.timing.followGhosts = false;
  if (!opts.ghostPath.empty() && !driveAgainstGhost(sim, opts.dir, opts.ghostPath, why)) {
    std::printf("ghost refused: %s\n", why.c_str());
    return kExitGhostRefused;
  }
  PhCar& car = *sim.car;
  car.turbo = opts.turbo;
  car.autoGearbox = !opts.manual;
  if (!opts.playPath.empty() && !loadReplay(car, opts.playPath.c_str())) {
    std::fprintf(stderr, "stravo-sim: cannot play %s\n", opts.playPath.c_str());
    return kExitFailed;
  }
  car.replayRecording = opts.record;
  if (startOutGauge(opts.outgauge, "stravo-sim")) sim.ctx.afterDrivingTick = outGaugeTick;

  TrackLine line;
  Autopilot autopilot;
  if (opts.autopilot) {
    if (!loadTrackLine(opts.dir, line)) return kExitFailed;
    autopilot.line = &line;
    sim.input.setAnalog(true);
  } else {
    loadTrackLine(opts.dir, line, false);
  }
  // The sector splits without a reference lap lie on the centre line.
  sim.state.timing.centreLine = line.points;

  FILE* telemetry = nullptr;
  if (!opts.telemetryPath.empty()) {
    telemetry = std::fopen(opts.telemetryPath.c_str(), "wb");
    if (telemetry == nullptr) {
      std::fprintf(stderr, "stravo-sim: cannot write %s\n", opts.telemetryPath.c_str());
      return kExitFailed;
    }
    writeTelemetryHeader(telemetry, !opts.ghostPath.empty());
  }

  RunTotals totals;
  LapPosition lap;
  if (!opts.ghostPath.empty()) totals.ghostTicks = 0;
  int exitCode = kExitOk;
  for (long long t = 0; t < opts.ticks; ++t) {
    script.apply(t, sim.source, sim.input);
    if (opts.autopilot) {
      StickReading stick = autopilot.drive(car);
      sim.source.setAxis(0, stick.x);
      sim.source.setAxis(1, stick.y);
    }
    LapEvent lapEvent = Tick(sim.ctx, sim.state);
    ++totals.ticks;
    if (!opts.ghostPath.empty() && ghostVisible(sim.ghosts)) ++totals.ghostTicks;
    if (lapEvent.completed) {
      totals.laps.push_back(lapEvent.lapTime);
      totals.sectors.push_back(lapSectors(sim.state.timing));
    }

    double step = length(car.current.position - car.previous.position);
    totals.distance += step;
    lap.distance = lapEvent.started ? 0.0 : lap.distance + step;
    lap.lap += lapEvent.started ? 1 : 0;
    lap.lapTime = sim.state.lapTime;
    totals.topSpeed = std::max(totals.topSpeed, kmh(car.current.velocity));
    for (const CarWheel& w : car.wheels)
      if (w.surface != 0) ++totals.offRoadWheelTicks;
    totals.trajectory = fnv1aAdd(totals.trajectory, &car.current.position, sizeof(Vec3));
    totals.trajectory = fnv1aAdd(totals.trajectory, &car.current.velocity, sizeof(Vec3));
    totals.trajectory = fnv1aAdd(totals.trajectory, car.current.orientation.m, sizeof(car.current.orientation.m));
    if (telemetry != nullptr) {
      writeTelemetryRow(telemetry, t, car, lap, opts.ghostPath.empty() ? nullptr : &sim.state.timing.delta);
      if (std::ferror(telemetry)) closeTelemetry(telemetry, opts.telemetryPath);
    }

    if (!stateIsFinite(car)) {
      std::fprintf(stderr, "stravo-sim: the car's state is not finite after tick %lld\n", t);
      exitCode = kExitNotFinite;
      break;
    }
    if (carIsLost(car)) {
      recoverCar(sim.ctx, sim.state);
      autopilot.lose();
      ++totals.recoveries;
    }
  }
  if (telemetry != nullptr) closeTelemetry(telemetry, opts.telemetryPath);
  stopOutGauge();
  // Saved here rather than when the car goes, so that a failure decides the exit code.
  if (car.replayRecording) {
    car.replayRecording = false;
    saveReplay(car, sim.replayPath.c_str());
  }
  printSummary(totals, car);
  if (failedSaveCount() > 0 && exitCode == kExitOk) exitCode = kExitFailed;
  return exitCode;
}
