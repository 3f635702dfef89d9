#pragma once

#include "game/lap_event.h"
#include "game/laps/proof_file.h"
#include "game/laps/proof_lap.h"

#include <vector>

class PhCar;

// Keeps the run since the last standing start as a lap proof needs it: the
// input changes and recoveries tick by tick, and the measures of the lap being
// driven. Runs past kMaxProofTicks are given up until the next standing start.
struct ProofRecorder {
  bool recording = false;
  ProofStart start = ProofStart::Restart;
  uint32_t ticks = 0;  // driving ticks of the run so far
  std::vector<ProofChange> changes;
  GhostInput input;  // as the last change left it
  bool recoveryPending = false;
  bool lapRunning = false;  // a lap of this run is being measured
  uint32_t lapStartTick = 0;
  ProofLapWatch watch;

  // A lap of the run completed on the tick recorded last.
  bool haveLap = false;
  LapProof lap;  // everything but the changes
  size_t lapChanges = 0;  // the changes up to its end
};

// The car stands at a standing start (a restart, or start-up): a new run.
void beginProofRun(ProofRecorder& recorder, ProofStart start);
// The car was put back at the recovery point: before the next tick's step.
void noteProofRecovery(ProofRecorder& recorder);

// After a driving tick: the input its step read, the car as it left it (with
// its position before the step as `previous`), and what the lap timer made of
// it. True when a lap of the run was completed: recorder.lap then holds its
// claims.
bool recordProofTick(ProofRecorder& recorder, const ProofCourse& course, const GhostInput& input,
                     const PhCar& car, const LapEvent& lap);

// The proof of the lap completed on the tick recorded last, on `circuit`.
void lapProofOf(const ProofRecorder& recorder, const ProofCircuit& circuit, LapProof& out);
