#include "board/lap_check.h"

#include "game/laps/proof_file.h"
#include "game/laps/proof_verify.h"
#include "game/time_display.h"
#include "tools/datagen/generator.h"

namespace {

// The lap's samples thinned to one every `everyTicks` ticks and the last, each
// with the speed averaged over the window since the previous one.
void thinTrace(const std::vector<ProofSample>& samples, int everyTicks, std::vector<TraceSample>& out) {
  out.clear();
  if (samples.empty()) return;
  if (everyTicks < 1) everyTicks = 1;
  out.push_back({0.0f, 0.0f, 0.0f});
  double windowDistance = 0.0;
  size_t windowTick = 0;
  for (size_t k = 0; k < samples.size(); ++k) {
    bool last = k + 1 == samples.size();
    if ((k + 1) % size_t(everyTicks) != 0 && !last) continue;
    size_t ticksInWindow = k + 1 - windowTick;
    double speed = (samples[k].distance - windowDistance) * double(kTicksPerSecond) / double(ticksInWindow);
    out.push_back({float(samples[k].distance), lapTimeOfTicks(uint32_t(k + 1)), float(speed)});
    windowDistance = samples[k].distance;
    windowTick = k + 1;
  }
  // The start has no window behind it: it takes the first one's speed.
  if (out.size() > 1) out[0].speed = out[1].speed;
}

}  // namespace

bool parseLapClass(const std::string& text, LapClass& out) {
  for (LapClass c : kLapClasses) {
    if (text == lapClassName(c)) {
      out = c;
      return true;
    }
  }
  return false;
}

bool claimOfProof(const uint8_t* data, size_t size, const LapClaim& request, LapClaim& out, std::string& why) {
  LapProof proof;
  if (!parseProof(data, size, proof, why)) return false;
  if (proof.circuit.generatorVersion != uint32_t(kGeneratorVersion)) {
    why = "unknown data set generator version " + std::to_string(proof.circuit.generatorVersion);
    return false;
  }
  if (request.generatorVersion != int(proof.circuit.generatorVersion)) {
    why = "a lap of data set generator version " + std::to_string(proof.circuit.generatorVersion) + ", not " +
          std::to_string(request.generatorVersion);
    return false;
  }
  out.circuit.seeded = proof.circuit.seeded;
  out.circuit.seed = proof.circuit.seed;
  out.generatorVersion = int(proof.circuit.generatorVersion);
  if (request.circuit.seeded != out.circuit.seeded || request.circuit.seed != out.circuit.seed) {
    why = "a lap of " + circuitName(out.circuit) + ", not of " + circuitName(request.circuit);
    return false;
  }
  return true;
}

bool checkLap(const uint8_t* data, size_t size, const LapClaim& claim, const CircuitTrack& track, CheckedLap& out,
              std::string& why, std::vector<TraceSample>* trace, int everyTicks) {
  ProofVerdict verdict;
  std::vector<ProofSample> samples;
  if (!verifyProof(data, size, track.proof, verdict, why, trace ? &samples : nullptr)) return false;
  out = CheckedLap();
  out.circuit = claim.circuit;
  out.generatorVersion = int(verdict.circuit.generatorVersion);
  out.trackId = verdict.circuit.trackId;
  out.ticks = verdict.lapEndTick - verdict.lapStartTick;
  out.lapTime = verdict.lapTime;
  out.lapClass = verdict.lapClass;
  for (int s = 0; s < 3; ++s) out.sectors[s] = verdict.sectors[s];
  out.clean = verdict.clean;
  out.uncleanWhy = verdict.notCleanReason;
  if (trace) thinTrace(samples, everyTicks, *trace);
  return true;
}
