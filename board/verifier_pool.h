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

// What one verification needs for itself: its own copy of each circuit's track.
struct Verifier {
  std::map<std::string, std::unique_ptr<CircuitTrack>> tracks;  // by circuit name
};

// Checks a proof on `verifier`, loading the claimed circuit's track into it
// (from `cache`, made there on first use) when it has none yet.
// `trace` as checkLap gives it.
bool verifyOn(Verifier& verifier, CircuitCache& cache, const uint8_t* data, size_t size, const LapClaim& claim,
              CheckedLap& out, std::string& why, std::vector<TraceSample>* trace = nullptr, int everyTicks = 1);

// A fixed number of worker threads, each with its own Verifier, taking proofs
// from a bounded queue. The workers run at a lower priority than the threads
// serving pages, so readers stay quick while proofs arrive. The car's drives
// take turns within a process (they share the program-wide noise table), so
// verification scales with processes rather than workers.
class VerifierPool {
 public:
  enum class Outcome { Proven, Refused, Busy };

  VerifierPool(int workers, int queueLimit, CircuitCache& cache);
  ~VerifierPool();
  VerifierPool(const VerifierPool&) = delete;
  VerifierPool& operator=(const VerifierPool&) = delete;

  // Verifies on a worker and waits for it. Busy, at once, when `queueLimit`
  // proofs are already waiting; Refused with the verifier's reason. `trace` as
  // checkLap gives it.
  Outcome verify(const uint8_t* data, size_t size, const LapClaim& claim, CheckedLap& out, std::string& why,
                 std::vector<TraceSample>* trace = nullptr, int everyTicks = 1);

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
