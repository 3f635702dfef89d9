#include "game/laps/proof_recorder.h"

#include "game/laps/proof_state.h"
#include "vehicle/car.h"

#include <cstring>

namespace {

bool sameInput(const GhostInput& a, const GhostInput& b) {
  return a.keys == b.keys && a.flags == b.flags && std::memcmp(a.axes, b.axes, sizeof(a.axes)) == 0;
}

}  // namespace

void beginProofRun(ProofRecorder& recorder, ProofStart start) {
  recorder.recording = true;
  recorder.start = start;
  recorder.ticks = 0;
  recorder.changes.clear();
  recorder.input = GhostInput();
  recorder.recoveryPending = false;
  recorder.lapRunning = false;
  recorder.haveLap = false;
}

void noteProofRecovery(ProofRecorder& recorder) {
  recorder.recoveryPending = true;
  recorder.lapRunning = false;
}

bool recordProofTick(ProofRecorder& recorder, const ProofCourse& course, const GhostInput& input,
                     const PhCar& car, const LapEvent& event) {
  recorder.haveLap = false;
  if (!recorder.recording) return false;
  if (recorder.ticks >= kMaxProofTicks) {
    recorder.recording = false;
    return false;
  }
  uint32_t t = recorder.ticks++;
  if (recorder.recoveryPending || !sameInput(input, recorder.input)) {
    recorder.changes.push_back({t, recorder.recoveryPending, input});
    recorder.input = input;
    recorder.recoveryPending = false;
  }
  if (!event.started) {
    if (recorder.lapRunning) watchLapTick(recorder.watch, course, car, car.previous.position);
    return false;
  }
  bool completed = event.completed && recorder.lapRunning;
  if (completed) {
    LapProof& lap = recorder.lap;
    lap.start = recorder.start;
    lap.lapStartTick = recorder.lapStartTick;
    lap.lapEndTick = t;
    lap.lapTime = event.lapTime;
    lap.lapClass = event.lapClass;
    std::string notClean;
    finishWatchedLap(recorder.watch, car, event.lapTime, lap.sectors, lap.clean, notClean);
    lap.endStateHash = proofStateHash(car);
    recorder.lapChanges = recorder.changes.size();
    recorder.haveLap = true;
  }
  recorder.lapRunning = true;
  recorder.lapStartTick = t;
  startWatchedLap(recorder.watch, course);
  return completed;
}

void lapProofOf(const ProofRecorder& recorder, const ProofCircuit& circuit, LapProof& out) {
  const LapProof& lap = recorder.lap;
  out.physicsVersion = kPhysicsVersion;
  out.programVersion = kProofProgramVersion;
  out.circuit = circuit;
  out.start = lap.start;
  out.lapStartTick = lap.lapStartTick;
  out.lapEndTick = lap.lapEndTick;
  out.lapTime = lap.lapTime;
  for (int k = 0; k < kSectorCount; ++k) out.sectors[k] = lap.sectors[k];
  out.lapClass = lap.lapClass;
  out.clean = lap.clean;
  out.endStateHash = lap.endStateHash;
  out.changes.assign(recorder.changes.begin(), recorder.changes.begin() + long(recorder.lapChanges));
}
