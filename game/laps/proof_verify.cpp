#include "game/laps/proof_verify.h"

#include "game/car_placement.h"
#include "game/laps.h"
#include "game/laps/car_noise_table.h"
#include "game/laps/ghost_car.h"
#include "game/laps/proof_lap.h"
#include "game/laps/proof_state.h"
#include "game/tick.h"
#include "vehicle/car.h"
#include "vehicle/car_state.h"

#include <cstring>
#include <memory>

namespace {

bool sameBits(float a, float b) { return std::memcmp(&a, &b, 4) == 0; }

std::string tickText(const char* what, uint32_t tick) { return std::string(what) + " at tick " + std::to_string(tick); }

bool sameCircuit(const ProofCircuit& proof, const ProofCircuit& track, std::string& why) {
  if (proof.trackId != track.trackId) {
    why = "driven on another track";
    return false;
  }
  if (proof.seeded != track.seeded || proof.seed != track.seed) {
    why = proof.seeded ? "driven on the circuit of seed " + std::to_string(proof.seed)
                       : "driven on the default circuit";
    return false;
  }
  return true;
}

void fillVerdict(const LapProof& proof, ProofVerdict& out) {
  out.lapTime = proof.lapTime;
  for (int k = 0; k < kSectorCount; ++k) out.sectors[k] = proof.sectors[k];
  out.lapClass = proof.lapClass;
  out.clean = proof.clean;
  out.circuit = proof.circuit;
  out.physicsVersion = proof.physicsVersion;
  out.programVersion = proof.programVersion;
  out.start = proof.start;
  out.totalTicks = proof.lapEndTick + 1;
  out.lapStartTick = proof.lapStartTick;
  out.lapEndTick = proof.lapEndTick;
}

// A GhostLap of the proven lap, filled while the run is driven: the car after
// the lap's first step, then each later tick's inputs and pose.
void beginGhostOfProof(GhostLap& lap, const LapProof& proof) {
  lap.physicsVersion = proof.physicsVersion;
  lap.trackId = proof.circuit.trackId;
  lap.lapTime = proof.lapTime;
  lap.lapClass = proof.lapClass;
  lap.inputs.clear();
  lap.poses.clear();
  lap.inputs.reserve(proof.lapEndTick - proof.lapStartTick);
  lap.poses.reserve(proof.lapEndTick - proof.lapStartTick);
}

void addGhostTick(GhostLap& lap, const InputDevice& input, const PhCar& car) {
  lap.inputs.push_back(captureGhostInput(input, car));
  lap.poses.push_back(captureGhostPose(car));
}

// The stated lap's end: every claim against what the drive gave.
bool checkLapEnd(const LapProof& proof, const PhCar& car, const LapEvent& lap, ProofLapWatch& watch,
                 ProofVerdict& out, std::string& why) {
  float lapTime = lap.lapTime;
  float sectors[kSectorCount];
  bool clean = false;
  std::string notClean;
  finishWatchedLap(watch, car, lapTime, sectors, clean, notClean);
  if (!sameBits(lapTime, proof.lapTime)) {
    why = "the lap time is not the one driven";
    return false;
  }
  for (int k = 0; k < kSectorCount; ++k)
    if (!sameBits(sectors[k], proof.sectors[k])) {
      why = "sector " + std::to_string(k + 1) + " is not the one driven";
      return false;
    }
  if (proofStateHash(car) != proof.endStateHash) {
    why = "the car does not end the lap in the stated state";
    return false;
  }
  if (lap.lapClass != proof.lapClass) {
    why = lap.lapClass == LapClass::Turbo ? "a turbo lap stated as one without"
                                          : "a lap without the turbo stated as a turbo lap";
    return false;
  }
  if (clean != proof.clean) {
    why = clean ? "stated not clean, but it is" : "stated clean, but it is not: " + notClean;
    return false;
  }
  fillVerdict(proof, out);
  out.notCleanReason = notClean;
  return true;
}

bool driveRun(const LapProof& proof, const ProofTrack& track, ProofVerdict& out, std::string& why,
              std::vector<ProofSample>* trace, GhostLap* ghostLap) {
  if (!sameCircuit(proof.circuit, track.circuit, why)) return false;
  if (track.tree == nullptr) {
    why = "the track has no collision tree";
    return false;
  }
  ProofCourse course;
  setProofCourse(course, track.centreLine, track.startPosition);
  GhostCar ghost;
  CarNoiseTable noise;
  PhCar& car = *ghost.car;
  ghost.world.attachTree(track.tree);
  if (proof.start == ProofStart::Restart)
    placeCarAtRestart(car, track.startPosition, track.startHeading);
  else
    placeCarAsBuilt(car, track.startPosition, track.startHeading);
  auto timerState = std::make_unique<GameState>();
  GameState& timer = *timerState;
  timer.startPosition = track.startPosition;
  timer.startHeading = track.startHeading;
  timer.startLineA = track.lineA;
  timer.startLineB = track.lineB;
  ProofLapWatch watch;
  double lapDistance = 0.0;

  if (trace != nullptr) {
    trace->clear();
    trace->reserve(proof.lapEndTick - proof.lapStartTick);
  }
  if (ghostLap != nullptr) beginGhostOfProof(*ghostLap, proof);

  ProofChangeCursor changes{&proof.changes};
  for (uint32_t t = 0; t <= proof.lapEndTick; ++t) {
    if (const ProofChange* change = changes.at(t)) {
      if (change->recovery) {
        if (t > proof.lapStartTick) {
          why = tickText("a recovery inside the lap", t);
          return false;
        }
        placeCarAtRecoveryPoint(car, track.startHeading);
        stopLap(timer);
      }
      applyGhostInput(change->input, ghost.input, car);
    }
    Vec3 from = car.current.position;
    ghost.world.step();
    LapEvent lap = timeLap(timer, car.current.position, car.turbo);

    if (t < proof.lapStartTick) continue;
    if (t == proof.lapStartTick) {
      if (!lap.started) {
        why = tickText("the lap does not start", t);
        return false;
      }
      startWatchedLap(watch, course);
      if (ghostLap != nullptr) ghostLap->start = captureCarState(car);
      continue;
    }
    if (lap.started && t < proof.lapEndTick) {
      why = tickText("touches the start line", t) + ", before the lap's end";
      return false;
    }
    if (ghostLap != nullptr) addGhostTick(*ghostLap, ghost.input, car);
    lapDistance += length(car.current.position - from);
    if (trace != nullptr) trace->push_back({lapDistance, length(car.current.velocity) * double(kTicksPerSecond)});
    if (t < proof.lapEndTick) {
      watchLapTick(watch, course, car, from);
      continue;
    }
    if (!lap.completed) {
      why = tickText("the lap does not end", t);
      return false;
    }
    return checkLapEnd(proof, car, lap, watch, out, why);
  }
  why = "the run ends before its lap";
  return false;
}

}  // namespace

bool verifyLapProof(const LapProof& proof, const ProofTrack& track, ProofVerdict& out, std::string& why,
                    std::vector<ProofSample>* trace) {
  return driveRun(proof, track, out, why, trace, nullptr);
}

bool verifyProof(const uint8_t* data, size_t size, const ProofTrack& track, ProofVerdict& out, std::string& why,
                 std::vector<ProofSample>* trace) {
  LapProof proof;
  return parseProof(data, size, proof, why) && verifyLapProof(proof, track, out, why, trace);
}

bool ghostOfProof(const LapProof& proof, const ProofTrack& track, GhostLap& lap, ProofVerdict& verdict,
                  std::string& why) {
  return driveRun(proof, track, verdict, why, nullptr, &lap);
}
