#pragma once

#include "board/circuits.h"
#include "board/lap_check.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class GhostCar;

// What one verification needs for itself: a car to drive the proof again and
// its own copy of each circuit's track.
struct Verifier {
  std::unique_ptr<GhostCar> ghost;
  std::map<std::string, std::unique_ptr<CircuitTrack>> tracks;  // by circuit name
};

// A fixed number of verifiers; a request takes one for the length of one
// proof and waits a bounded time for one to come free.
class VerifierPool {
 public:
  // Builds `count` verifiers. Must run before any verification: building a car
  // redraws the shared noise table for a moment.
  explicit VerifierPool(int count);
  ~VerifierPool();

  // A free verifier, or null when none came free within `wait`.
  Verifier* acquire(std::chrono::milliseconds wait);
  void release(Verifier* verifier);

 private:
  std::vector<std::unique_ptr<Verifier>> all_;
  std::vector<Verifier*> free_;
  std::mutex mutex_;
  std::condition_variable freed_;
};

// Checks a proof on `verifier`, loading the claimed circuit's track into it
// (from `cache`, made there on first use) when it has none yet.
bool verifyOn(Verifier& verifier, CircuitCache& cache, const uint8_t* data, size_t size, const LapClaim& claim,
              CheckedLap& out, std::string& why);
