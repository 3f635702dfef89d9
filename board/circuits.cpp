#include "board/circuits.h"

#include "tools/datagen/generator.h"

#include <unistd.h>

#include <atomic>
#include <ctime>
#include <filesystem>
#include <system_error>

namespace {

// The longest seed text: 4294967295.
constexpr size_t kMaxSeedDigits = 10;

bool parseSeed(const std::string& digits, uint32_t& out) {
  if (digits.empty() || digits.size() > kMaxSeedDigits) return false;
  if (digits.size() > 1 && digits[0] == '0') return false;
  uint64_t v = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + uint64_t(c - '0');
  }
  if (v > 0xffffffffull) return false;
  out = uint32_t(v);
  return true;
}

}  // namespace

bool parseCircuitName(const std::string& text, CircuitId& out) {
  if (text == "default") {
    out = CircuitId();
    return true;
  }
  const std::string prefix = "seed-";
  if (text.compare(0, prefix.size(), prefix) != 0) return false;
  CircuitId id;
  id.seeded = true;
  if (!parseSeed(text.substr(prefix.size()), id.seed)) return false;
  out = id;
  return true;
}

std::string circuitName(const CircuitId& circuit) {
  return circuit.seeded ? "seed-" + std::to_string(circuit.seed) : "default";
}

CircuitId dailyCircuit(int64_t ms) {
  std::time_t t = std::time_t(ms / 1000);
  std::tm tm{};
  gmtime_r(&t, &tm);
  CircuitId id;
  id.seeded = true;
  id.seed = uint32_t((tm.tm_year + 1900) * 10000 + (tm.tm_mon + 1) * 100 + tm.tm_mday);
  return id;
}

bool isRecentDaily(const CircuitId& circuit, int64_t nowMs) {
  constexpr int64_t kDayMs = 24 * 60 * 60 * 1000;
  if (!circuit.seeded) return false;
  return circuit.seed == dailyCircuit(nowMs).seed || circuit.seed == dailyCircuit(nowMs - kDayMs).seed;
}

bool loadCircuitTrack(const std::string& folder, CircuitTrack& out, std::string& why) {
  if (!loadProofTrack(folder, out.proof, why)) return false;
  if (out.proof.centreLine.points.empty()) {
    why = "the data set has no centre line";
    return false;
  }
  return true;
}

bool CircuitCache::folderOf(const CircuitId& circuit, int64_t nowMs, std::string& folder, std::string& why) {
  namespace fs = std::filesystem;
  std::string name = circuitName(circuit);
  // One generation at a time in this process: it takes seconds and much memory.
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = ready_.find(name);
  if (found != ready_.end()) {
    folder = found->second;
    return true;
  }
  std::string target = root_ + "/" + name + "-g" + std::to_string(kGeneratorVersion);
  std::error_code ec;
  if (!fs::exists(target + "/data/models/track1.rmd", ec)) {
    bool daily = isRecentDaily(circuit, nowMs);
    if (!daily && made_ >= maxCircuits_) {
      why = "too many circuits on this board";
      return false;
    }
    fs::create_directories(root_, ec);
    static std::atomic<int> counter{0};
    std::string scratch = target + ".making-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    fs::remove_all(scratch, ec);
    CircuitChoice choice;
    choice.seeded = circuit.seeded;
    choice.seed = circuit.seed;
    GenerationReport report;
    if (!generateDataSet(scratch, choice, report, why)) {
      fs::remove_all(scratch, ec);
      why = "cannot make the circuit's data set: " + why;
      return false;
    }
    if (!daily) ++made_;
    // The finished set appears whole or not at all; another process may have
    // made the same one meanwhile, and then its copy is used.
    fs::rename(scratch, target, ec);
    if (ec) fs::remove_all(scratch, ec);
  }
  ready_[name] = target;
  folder = target;
  return true;
}
