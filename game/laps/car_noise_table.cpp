#include "game/laps/car_noise_table.h"

#include "game/startup_models.h"
#include "physics/random.h"
#include "vehicle/noise_table.h"

#include <cstring>

std::mutex& sharedCarTablesLock() {
  static std::mutex lock;
  return lock;
}

CarNoiseTable::CarNoiseTable() : lock_(sharedCarTablesLock()) {
  std::memcpy(saved_, noiseTable, sizeof(saved_));
  seed_ = randomState();
  seedRandom(kStartupSeed);
  buildNoiseTable();
}

CarNoiseTable::~CarNoiseTable() {
  std::memcpy(noiseTable, saved_, sizeof(saved_));
  seedRandom(seed_);
}
