#pragma once

#include "board/circuits.h"
#include "game/lap_class.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Everything the board takes from a submitted lap proof, behind one adapter so
// the rest of the board does not depend on the proof's file layout. The proof
// names its circuit and data-set generator version; the verifier drives its run
// again from the standing start and gives the lap and sector times, the class
// and whether the lap was clean.

// The two boards of each circuit, laps without and with the turbo, by the
// name lapClassName gives them.
bool parseLapClass(const std::string& text, LapClass& out);

// What the request says about the lap before its proof is read.
struct LapClaim {
  CircuitId circuit;
  int generatorVersion = 0;
};

// One point of the lap's trace along its own path.
struct TraceSample {
  float distance = 0.0f;  // m driven since the lap began
  float time = 0.0f;      // s since the lap began
  float speed = 0.0f;     // m/s
};

// A proof driven again and judged.
struct CheckedLap {
  CircuitId circuit;
  int generatorVersion = 0;
  uint64_t trackId = 0;
  uint32_t ticks = 0;
  float lapTime = 0.0f;  // s, as the lap timer held it
  LapClass lapClass = LapClass::Plain;
  float sectors[3] = {0.0f, 0.0f, 0.0f};  // s, add up to lapTime
  bool clean = false;
  std::string uncleanWhy;  // when not clean: where the car left the track
};

// The circuit and data-set generator version a proof is for, as the proof
// names them. False with `why` for an unknown generator version, a circuit
// other than the one the request names, or bytes that are not a proof.
bool claimOfProof(const uint8_t* data, size_t size, const LapClaim& request, LapClaim& out, std::string& why);

// Drives the proof again on `track` and judges it; `trace`, when given,
// receives the lap's speed along its distance, one sample every `everyTicks`
// ticks and the last. False with the verifier's reason (damaged, forged,
// another track, a claim its run does not give).
bool checkLap(const uint8_t* data, size_t size, const LapClaim& claim, const CircuitTrack& track, CheckedLap& out,
              std::string& why, std::vector<TraceSample>* trace = nullptr, int everyTicks = 1);

