#include "board/verifier_pool.h"

#include "app/log.h"
#include "game/ghost_car.h"
#include "physics/random.h"
#include "vehicle/car.h"

namespace {

// The shared generator's seed at the game's start-up, before its car draws the
// noise table: the table every lap was driven with.
constexpr uint32_t kStartupSeed = 345;

// Draws the noise table as the game's own car does; a verifier's car keeps it.
void drawGameNoiseTable() {
  seedRandom(kStartupSeed);
  PhCar* car = new PhCar();
  bool logging = loggingOn();
  setLogging(false);
  delete car;
  setLogging(logging);
}

}  // namespace

VerifierPool::VerifierPool(int count) {
  drawGameNoiseTable();
  for (int i = 0; i < count; ++i) {
    all_.push_back(std::make_unique<Verifier>());
    all_.back()->ghost = std::make_unique<GhostCar>();
    free_.push_back(all_.back().get());
  }
}

VerifierPool::~VerifierPool() = default;

Verifier* VerifierPool::acquire(std::chrono::milliseconds wait) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!freed_.wait_for(lock, wait, [this] { return !free_.empty(); })) return nullptr;
  Verifier* v = free_.back();
  free_.pop_back();
  return v;
}

void VerifierPool::release(Verifier* verifier) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    free_.push_back(verifier);
  }
  freed_.notify_one();
}

bool verifyOn(Verifier& verifier, CircuitCache& cache, const uint8_t* data, size_t size, const LapClaim& claim,
              CheckedLap& out, std::string& why) {
  std::string name = circuitName(claim.circuit);
  auto found = verifier.tracks.find(name);
  if (found == verifier.tracks.end()) {
    std::string folder;
    if (!cache.folderOf(claim.circuit, folder, why)) return false;
    auto track = std::make_unique<CircuitTrack>();
    if (!loadCircuitTrack(folder, *track, why)) return false;
    found = verifier.tracks.emplace(name, std::move(track)).first;
  }
  return checkLap(data, size, claim, *found->second, *verifier.ghost, out, why);
}
