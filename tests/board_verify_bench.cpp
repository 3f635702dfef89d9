// How fast the board proves laps: an autopilot lap of the generated circuit
// checked from its bytes (parse, drive again, sectors, clean), on one verifier
// and on two at once. The proof-a-second counters are one-lap proofs; a
// three-lap proof costs three times the ticks.

#include "tests/generated_data_set.h"
#include "tests/sim_tracks.h"

#include "board/verifier_pool.h"
#include "game/laps/ghost_car.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace simtracks;

namespace {

struct BenchLap {
  GeneratedDataSet data;
  std::vector<uint8_t> proof;
  std::unique_ptr<CircuitTrack> tracks[2];  // one per benchmark thread
  std::string why;

  ~BenchLap() {
    if (!data.previous.empty()) data.leave();
  }

  bool make() {
    if (!data.enter(why)) return false;
    if (runSim(data.root, "--autopilot") != 0) {
      why = "the runner failed";
      return false;
    }
    std::string bytes = readFile(data.root + "/ghosts/best.ghost");
    proof.assign(bytes.begin(), bytes.end());
    for (auto& t : tracks) {
      t = std::make_unique<CircuitTrack>();
      if (!loadCircuitTrack(data.root, *t, why)) return false;
    }
    return true;
  }
};

// Made once for both thread counts; its folder goes at exit.
BenchLap& benchLap() {
  static BenchLap lap;
  static bool made = lap.make();
  if (!made) lap.proof.clear();
  return lap;
}

void BM_VerifyLapProof(benchmark::State& state) {
  BenchLap& lap = benchLap();
  if (lap.proof.empty()) {
    state.SkipWithError(lap.why.c_str());
    return;
  }
  const CircuitTrack& track = *lap.tracks[state.thread_index() % 2];
  LapClaim claim;
  claim.generatorVersion = kGeneratorVersion;
  uint32_t ticks = 0;
  for (auto _ : state) {
    CheckedLap checked;
    std::string why;
    if (!checkLap(lap.proof.data(), lap.proof.size(), claim, track, checked, why)) {
      state.SkipWithError(why.c_str());
      break;
    }
    ticks = checked.ticks;
  }
  state.counters["proofs/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["ticks/s"] = benchmark::Counter(double(state.iterations()) * ticks, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_VerifyLapProof)->Unit(benchmark::kMillisecond)->UseRealTime()->Threads(1)->Threads(2);

}  // namespace
