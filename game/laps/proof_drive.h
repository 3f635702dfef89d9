#pragma once

#include "game/laps/proof_file.h"
#include "physics/vec3.h"

#include <cstdint>

class PhCar;

// Where a run begins, as the game puts the car there: from a restart, standing
// 20 m behind the line, braked and reset; from start-up, the car as built
// placed on the same spot (position and orientation only). Nothing of the car
// before this counts.
void placeAtStandingStart(PhCar& car, ProofStart start, const Vec3& startPosition, float startHeading);

// The recovery (R key, a lost car): the car put back at the fixed recovery point.
void placeAtRecoveryPoint(PhCar& car, float startHeading);

// FNV-1a (64-bit) of everything of the car that its next ticks read, in
// visitCarState order, leaving out what only drawing and sound use (the blow-off
// strength, which the sound clears, and the body-shake phases, which no reset
// clears).
uint64_t proofStateHash(const PhCar& car);

// While alive, the program-wide noise table holds the car's own (as start-up
// builds it from the seed 345); the table and the shared generator as they
// were come back at the end.
class CarNoiseTable {
 public:
  CarNoiseTable();
  ~CarNoiseTable();
  CarNoiseTable(const CarNoiseTable&) = delete;
  CarNoiseTable& operator=(const CarNoiseTable&) = delete;

 private:
  float saved_[256];
  uint32_t seed_;
};
