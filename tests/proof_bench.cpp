// Verifying a standing-start run of three laps: the run driven again from its
// standing start, with the lap timer, sectors and clean-lap checks. On the data
// set named by STRAVO_DATA_DIR the runner's autopilot drives it; without one,
// the keyboard bot on the test oval. Reports ticks and proofs a second.

#include "tests/proof_drive.h"
#include "tests/sim_tracks.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

using namespace proofdrive;
using namespace simtracks;

namespace {

constexpr size_t kLaps = 3;
constexpr int kMostTicks = 5 * 60 * 75;  // five minutes: room for three laps and the roll to the line

// The proof of the third lap of a run from a restart, and its size.
struct ThreeLaps {
  std::unique_ptr<Drive> drive = std::make_unique<Drive>();
  std::vector<uint8_t> bytes;
  std::string dir;
  bool ownDir = false;
};

ThreeLaps& threeLaps() {
  static ThreeLaps* laps = [] {
    auto* l = new ThreeLaps;
    const char* data = std::getenv("STRAVO_DATA_DIR");
    l->dir = data != nullptr ? data : makeDataFolder();
    l->ownDir = data == nullptr;
    if (l->ownDir) writeOval(l->dir);
    std::string why;
    Drive& d = *l->drive;
    if (!openDrive(l->dir, d, why)) return l;
    restart(d);
    Autopilot pilot;
    KeyboardBot bot;
    for (int t = 0; t < kMostTicks && d.proofs.size() < kLaps; ++t) {
      if (l->ownDir) {
        bot.drive(d);
        tick(d);
      } else {
        driveAutopilot(d, pilot, 1);
      }
    }
    if (d.proofs.size() == kLaps) l->bytes = encodeProof(d.proofs.back());
    return l;
  }();
  return *laps;
}

void BM_VerifyThreeLapProof(benchmark::State& state) {
  ThreeLaps& laps = threeLaps();
  if (laps.bytes.empty()) {
    state.SkipWithError("no three-lap run");
    return;
  }
  ProofVerdict verdict;
  std::string why;
  for (auto _ : state)
    if (!verifyProof(laps.bytes.data(), laps.bytes.size(), laps.drive->track, verdict, why)) {
      state.SkipWithError(why.c_str());
      return;
    }
  double ticks = double(verdict.totalTicks);
  state.counters["ticks"] = ticks;
  state.counters["bytes"] = double(laps.bytes.size());
  state.counters["ticks/s"] = benchmark::Counter(ticks, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["proofs/s"] = benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_VerifyThreeLapProof)->Unit(benchmark::kMillisecond);

}  // namespace
