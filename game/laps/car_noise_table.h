#pragma once

#include <cstdint>

// While alive, the program-wide noise table holds the car's own (as start-up
// builds it from the seed 345); the table and the shared generator as they
// were come back at the end. A verifier in a program without the game's car
// drives with it.
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
