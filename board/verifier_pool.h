#pragma once

#include "board/circuits.h"
#include "board/lap_check.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class GhostCar;

// Draws the shared noise table as the game's own car does at start-up; every
// lap was driven with it. Call once before building any Verifier.
void drawGameNoiseTable();

// What one verification needs for itself: a car to drive the proof again and
// its own copy of each circuit's track. Building one redraws the shared noise
// table for a moment, so all are built before any verification runs.
struct Verifier {
  Verifier();
  ~Verifier();
  std::unique_ptr<GhostCar> ghost;
  std::map<std::string, std::unique_ptr<CircuitTrack>> tracks;  // by circuit name
};

// Checks a proof on `verifier`, loading the claimed circuit's track into it
// (from `cache`, made there on first use) when it has none yet.
bool verifyOn(Verifier& verifier, CircuitCache& cache, const uint8_t* data, size_t size, const LapClaim& claim,
              CheckedLap& out, std::string& why);

// A fixed number of worker threads, each with its own Verifier, taking proofs
// from a bounded queue. The workers run at a lower priority than the threads
// serving pages, so readers stay quick while proofs arrive.
class VerifierPool {
 public:
  enum class Outcome { Proven, Refused, Busy };

  VerifierPool(int workers, int queueLimit, CircuitCache& cache);
  ~VerifierPool();
  VerifierPool(const VerifierPool&) = delete;
  VerifierPool& operator=(const VerifierPool&) = delete;

  // Verifies on a worker and waits for it. Busy, at once, when `queueLimit`
  // proofs are already waiting; Refused with the verifier's reason.
  Outcome verify(const uint8_t* data, size_t size, const LapClaim& claim, CheckedLap& out, std::string& why);

 private:
  struct Job;
  void work(Verifier& verifier);

  CircuitCache& cache_;
  size_t queueLimit_;
  std::vector<std::unique_ptr<Verifier>> verifiers_;
  std::vector<std::thread> threads_;
  std::deque<Job*> queue_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
};
