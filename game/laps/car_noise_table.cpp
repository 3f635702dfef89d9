#include "game/laps/car_noise_table.h"

#include "physics/random.h"
#include "vehicle/noise_table.h"

#include <cstring>

namespace {

// The shared generator's seed when start-up builds the car.
constexpr uint32_t kStartupSeed = 345;

}  // namespace

CarNoiseTable::CarNoiseTable() {
  std::memcpy(saved_, noiseTable, sizeof(saved_));
  seed_ = randomState();
  seedRandom(kStartupSeed);
  buildNoiseTable();
}

CarNoiseTable::~CarNoiseTable() {
  std::memcpy(noiseTable, saved_, sizeof(saved_));
  seedRandom(seed_);
}
