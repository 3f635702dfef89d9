#pragma once

// Verifying a lap proof: the run in the file driven again from its standing
// start with this program's own car, on a loaded track, from bytes in memory.
// No GL, no SDL, no files written; the caller reads the bytes.
//
// Use:
//   ProofTrack track;
//   std::string why;
//   if (!loadProofTrack("run", track, why)) ...           // DIR with data/ inside
//   ProofVerdict verdict;
//   std::vector<ProofSample> trace;                        // optional
//   if (verifyProof(bytes.data(), bytes.size(), track, verdict, why, &trace))
//     ... verdict.lapTime, verdict.clean, verdict.lapClass ...
//   else
//     ... refused: `why` names the reason ...
//
// Verifications in one process take turns: the car reads the program-wide
// noise table, which the verifier sets to the car's own while it drives and
// then puts back (see CarNoiseTable).

#include "game/laps/proof_file.h"
#include "game/laps/proof_track.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One tick of the proven lap: how far the car has come along it and how fast.
struct ProofSample {
  double distance;  // m driven since the lap began
  double speed;     // m/s
};

// What a verified proof shows.
struct ProofVerdict {
  float lapTime = 0.0f;                   // s, as the lap timer held it
  float sectors[3] = {0.0f, 0.0f, 0.0f};  // s; NaN without a centre line
  bool clean = false;
  std::string notCleanReason;  // empty for a clean lap
  LapClass lapClass = LapClass::Plain;  // Turbo when the turbo was on during one of its ticks
  ProofCircuit circuit;        // default (seeded false) or seed N, generator, track identity
  uint32_t physicsVersion = 0;
  uint32_t programVersion = 0;
  ProofStart start = ProofStart::Restart;
  uint32_t totalTicks = 0;     // the run, standing start to the lap's end
  uint32_t lapStartTick = 0;
  uint32_t lapEndTick = 0;
};

// Parses the proof and drives its run again on `track`; true when every claim
// holds: the track and circuit, a lap that starts and ends on the stated ticks
// with no recovery inside, the lap and sector times to the bit, the end-state
// hash, the class (what its ticks say) and the cleanliness. False with the
// reason otherwise. Drives at most the stated run once. `trace`, when given,
// receives one sample per tick of the lap.
bool verifyProof(const uint8_t* data, size_t size, const ProofTrack& track, ProofVerdict& out,
                 std::string& why, std::vector<ProofSample>* trace = nullptr);

// The same for a proof already parsed.
bool verifyLapProof(const LapProof& proof, const ProofTrack& track, ProofVerdict& out, std::string& why,
                    std::vector<ProofSample>* trace = nullptr);

// Verifies the proof as verifyLapProof does and gives its lap as a ghost lap
// (the car after the lap's first step, then every tick's inputs and pose), for
// the ghost car and the replay viewer.
bool ghostOfProof(const LapProof& proof, const ProofTrack& track, GhostLap& lap, ProofVerdict& verdict,
                  std::string& why);
