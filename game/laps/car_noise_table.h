#pragma once

#include <cstdint>
#include <mutex>

// While alive, the program-wide noise table holds the car's own (as start-up
// builds it from the seed 345); the table and the shared generator as they
// were come back at the end. A verifier in a program without the game's car
// drives with it. It holds sharedCarTablesLock() meanwhile, so drives on other
// threads (a server's workers) take turns instead of swapping the table under
// each other.
// Taken by whatever changes the program-wide noise table or the shared
// generator once threads may drive cars: a car's construction and a verifier.
std::mutex& sharedCarTablesLock();

class CarNoiseTable {
 public:
  CarNoiseTable();
  ~CarNoiseTable();
  CarNoiseTable(const CarNoiseTable&) = delete;
  CarNoiseTable& operator=(const CarNoiseTable&) = delete;

 private:
  std::lock_guard<std::mutex> lock_;
  float saved_[256];
  uint32_t seed_;
};
