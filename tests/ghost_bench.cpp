// The cost of the ghost car: one tick of a recorded lap driven again in its own
// world (inputs in, world step, pose compared with the record), and the
// recorder's cost per tick of the player's lap.
#include "game/laps/ghost_car.h"
#include "game/laps/lap_recorder.h"
#include "tests/vehicle_test_track.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kLapTicks = 1500;  // 20 s of driving in circles on the flat square

// A lap of full throttle and right lock on the flat track, recorded tick by tick.
GhostLap recordCircles(TestTrack& track) {
  buildFlatTrack(track);
  track.press(kKeyThrottle, true);
  track.press(kKeyRight, true);
  LapRecorder recorder;
  beginLapRecording(recorder, *track.car, 0);
  for (int k = 0; k < kLapTicks; ++k) {
    track.world.step();
    recordLapTick(recorder, track.input, *track.car);
  }
  LapEvent completed;
  completed.started = completed.completed = true;
  completed.lapTime = lapTimeOfTicks(kLapTicks);
  completed.lapTicks = kLapTicks;
  finishLapRecording(recorder, completed);
  return recorder.lap;
}

void BM_GhostTick(benchmark::State& state) {
  TestTrack track;
  GhostLap lap = recordCircles(track);
  GhostCar ghost;
  startGhost(ghost, lap, track.tree);
  for (auto _ : state) {
    if (!stepGhost(ghost)) {
      startGhost(ghost, lap, track.tree);
      stepGhost(ghost);
    }
    benchmark::DoNotOptimize(ghost.car->current.position);
  }
  if (ghost.diverged) state.SkipWithError("the ghost left its recorded lap");
}
BENCHMARK(BM_GhostTick);

// The same world step for the player's car, for comparison.
void BM_PlayerTick(benchmark::State& state) {
  TestTrack track;
  recordCircles(track);
  for (auto _ : state) {
    track.world.step();
    benchmark::DoNotOptimize(track.car->current.position);
  }
}
BENCHMARK(BM_PlayerTick);

void BM_RecordLapTick(benchmark::State& state) {
  TestTrack track;
  buildFlatTrack(track);
  LapRecorder recorder;
  beginLapRecording(recorder, *track.car, 0);
  for (auto _ : state) {
    if (recorder.lap.inputs.size() >= kMaxGhostTicks) beginLapRecording(recorder, *track.car, 0);
    recordLapTick(recorder, track.input, *track.car);
  }
}
BENCHMARK(BM_RecordLapTick);

}  // namespace
