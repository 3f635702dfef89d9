#pragma once

#include "board/circuits.h"
#include "game/lap_class.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class GhostCar;

// Everything the board takes from a submitted lap proof, behind one adapter so
// the rest of the board does not depend on the proof's file layout.
//
// Where each field comes from with ghost files (format 1):
//   proof:   ticks, lapTime, turbo, trackId (checked against the circuit's track)
//   request: circuit and generatorVersion (the file does not name them; the
//            client names them in the query, and the track identity must match)
//   board:   sectors, clean and trace, computed here from the proven poses
//            (the re-drive reached every recorded pose exactly, so they are the lap).

// The two boards of each circuit: laps without and with the turbo, by name.
const char* lapClassName(LapClass c);  // "plain", "turbo"
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

// The circuit and data-set generator version a proof is for: with format 1,
// the request's own claim once the generator version is known. False with
// `why` for an unknown generator version or a proof that is plainly not one.
bool claimOfProof(const uint8_t* data, size_t size, const LapClaim& request, LapClaim& out, std::string& why);

// Parses the proof against `track`, drives it again with `ghost` and judges it.
// False with the verifier's reason (damaged, forged, another track, does not replay).
bool checkLap(const uint8_t* data, size_t size, const LapClaim& claim, const CircuitTrack& track, GhostCar& ghost,
              CheckedLap& out, std::string& why);

// The speed trace of an accepted proof of the track `trackId`, one sample every
// `everyTicks` ticks and the last. False with `why` when it does not parse.
bool lapTrace(const uint8_t* data, size_t size, uint64_t trackId, int everyTicks, std::vector<TraceSample>& out,
              std::string& why);
