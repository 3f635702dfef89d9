#include "board/verifier_pool.h"

#include "board/board_server.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// How much nicer a verification worker is than the threads serving requests.
constexpr int kWorkerNiceness = 5;

}  // namespace

bool verifyOn(Verifier& verifier, CircuitCache& cache, const uint8_t* data, size_t size, const LapClaim& claim,
              CheckedLap& out, std::string& why, std::vector<TraceSample>* trace, int everyTicks) {
  std::string name = circuitName(claim.circuit);
  auto found = verifier.tracks.find(name);
  if (found == verifier.tracks.end()) {
    std::string folder;
    if (!cache.folderOf(claim.circuit, nowMs(), folder, why)) return false;
    auto track = std::make_unique<CircuitTrack>();
    if (!loadCircuitTrack(folder, *track, why)) return false;
    found = verifier.tracks.emplace(name, std::move(track)).first;
  }
  return checkLap(data, size, claim, *found->second, out, why, trace, everyTicks);
}

// One proof handed to a worker; the caller waits on `done`.
struct VerifierPool::Job {
  const uint8_t* data;
  size_t size;
  const LapClaim& claim;
  CheckedLap& out;
  std::string& why;
  std::vector<TraceSample>* trace;
  int everyTicks;
  bool proven = false;
  bool finished = false;
  std::condition_variable done;
};

VerifierPool::VerifierPool(int workers, int queueLimit, CircuitCache& cache)
    : cache_(cache), queueLimit_(size_t(queueLimit)) {
  for (int i = 0; i < workers; ++i) verifiers_.push_back(std::make_unique<Verifier>());
  for (auto& v : verifiers_) threads_.emplace_back([this, &v] { work(*v); });
}

VerifierPool::~VerifierPool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (std::thread& t : threads_) t.join();
}

VerifierPool::Outcome VerifierPool::verify(const uint8_t* data, size_t size, const LapClaim& claim, CheckedLap& out,
                                           std::string& why, std::vector<TraceSample>* trace, int everyTicks) {
  Job job{data, size, claim, out, why, trace, everyTicks, false, false, {}};
  std::unique_lock<std::mutex> lock(mutex_);
  if (queue_.size() >= queueLimit_) {
    why = "every verifier is busy";
    return Outcome::Busy;
  }
  queue_.push_back(&job);
  wake_.notify_one();
  job.done.wait(lock, [&job] { return job.finished; });
  return job.proven ? Outcome::Proven : Outcome::Refused;
}

void VerifierPool::work(Verifier& verifier) {
  setpriority(PRIO_PROCESS, id_t(syscall(SYS_gettid)), kWorkerNiceness);
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    Job* job = queue_.front();
    queue_.pop_front();
    lock.unlock();
    bool proven =
        verifyOn(verifier, cache_, job->data, job->size, job->claim, job->out, job->why, job->trace, job->everyTicks);
    lock.lock();
    job->proven = proven;
    job->finished = true;
    job->done.notify_one();
  }
}
