// stravo-sim: the car on the track without a window, driven by a script, a
// replay or the autopilot, for tests, benchmarks and tuning.

#include "app/files.h"
#include "tools/sim/sim_options.h"
#include "tools/sim/sim_world.h"
#include "tools/sim/telemetry.h"
#include "vehicle/replay.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Reads and parses the input script; prints the offending line on failure.
bool loadScript(const std::string& path, std::vector<InputEvent>& events) {
  std::vector<unsigned char> bytes;
  if (!readWholeFile(path.c_str(), bytes)) {
    std::fprintf(stderr, "stravo-sim: cannot read input script %s\n", path.c_str());
    return false;
  }
  int line = 0;
  std::string why;
  if (!parseInputScript(bytes.data(), bytes.size(), events, line, why)) {
    std::fprintf(stderr, "stravo-sim: %s:%d: %s\n", path.c_str(), line, why.c_str());
    return false;
  }
  return true;
}

// What the summary reports about the whole run.
struct RunTotals {
  long long ticks = 0;
  double distance = 0.0;  // m
  double topSpeed = 0.0;  // km/h
};

void printSummary(const RunTotals& totals, const PhCar& car) {
  const Vec3& p = car.current.position;
  std::printf("ticks: %lld\n", totals.ticks);
  std::printf("distance: %.1f m\n", totals.distance);
  std::printf("top speed: %.1f km/h\n", totals.topSpeed);
  std::printf("final position: %.3f %.3f %.3f\n", p.x, p.y, p.z);
}

}  // namespace

int main(int argc, char** argv) {
  SimOptions opts;
  std::string why;
  if (!parseSimOptions(argc, argv, opts, why)) {
    std::fprintf(stderr, "stravo-sim: %s\n%s\n", why.c_str(), simUsage());
    return kExitUsage;
  }

  ScriptPlayer script;
  if (!opts.inputPath.empty() && !loadScript(opts.inputPath, script.events)) return kExitUsage;

  SimWorld sim;
  if (!openSimWorld(opts.dir, sim, why)) {
    std::fprintf(stderr, "stravo-sim: %s\n", why.c_str());
    return kExitFailed;
  }
  PhCar& car = *sim.car;
  car.turbo = opts.turbo;
  car.autoGearbox = !opts.manual;
  if (!opts.playPath.empty() && !loadReplay(car, opts.playPath.c_str())) {
    std::fprintf(stderr, "stravo-sim: cannot play %s\n", opts.playPath.c_str());
    return kExitFailed;
  }
  car.replayRecording = opts.record;

  FILE* telemetry = nullptr;
  if (!opts.telemetryPath.empty()) {
    telemetry = std::fopen(opts.telemetryPath.c_str(), "wb");
    if (telemetry == nullptr) {
      std::fprintf(stderr, "stravo-sim: cannot write %s\n", opts.telemetryPath.c_str());
      return kExitFailed;
    }
    writeTelemetryHeader(telemetry);
  }

  RunTotals totals;
  for (long long t = 0; t < opts.ticks; ++t) {
    script.apply(t, sim.source, sim.input);
    sim.input.update();
    Vec3 before = car.current.position;
    sim.world.step();
    totals.distance += length(car.current.position - before);
    double speed = kmh(car.current.velocity);
    if (speed > totals.topSpeed) totals.topSpeed = speed;
    ++totals.ticks;
    if (telemetry != nullptr) writeTelemetryRow(telemetry, t, car);
  }
  if (telemetry != nullptr) std::fclose(telemetry);
  printSummary(totals, car);
  return kExitOk;
}
