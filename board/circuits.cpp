#include "board/circuits.h"

#include "app/files.h"
#include "game/laps/ghost_file.h"
#include "game/game_state.h"
#include "game/laps.h"
#include "game/prop_file.h"
#include "game/startup_models.h"
#include "render/rmd_mesh.h"
#include "physics/quadtree.h"
#include "tools/datagen/generator.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

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

bool fileBytes(const std::string& path, size_t maxBytes, std::vector<unsigned char>& bytes) {
  return readWholeFile(path.c_str(), maxBytes, bytes);
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

CircuitTrack::~CircuitTrack() { destroyQuadtree(tree); }

bool loadCircuitTrack(const std::string& folder, CircuitTrack& out, std::string& why) {
  std::string failedPath;
  if (!loadTrackWithCollision(folder + "/", out.track, out.world, out.tree, failedPath)) {
    why = "cannot load the track " + platformPath(failedPath.c_str());
    return false;
  }
  std::vector<unsigned char> bytes;
  if (!fileBytes(folder + "/data/models/track1.rmd", kMaxRmdFileBytes, bytes)) {
    why = "cannot read the track model";
    return false;
  }
  out.trackId = trackIdentity(bytes.data(), bytes.size());

  GameState state;
  PropFile props;
  std::string propPath = folder + "/data/trees.prp";
  if (readPropFile(propPath.c_str(), props)) {
    state.startPosition = props.startPosition;
    state.startHeading = props.startHeading;
  }
  computeStartLine(state);
  out.startPosition = state.startPosition;
  out.lineA = state.startLineA;
  out.lineB = state.startLineB;

  int badLine = 0;
  if (!fileBytes(folder + "/data/track.line", kMaxTextFileBytes, bytes) ||
      !parseTrackLine(bytes.data(), bytes.size(), out.centre, badLine, why)) {
    why = "cannot read the centre line: " + why;
    return false;
  }
  if (!splitsFromCentreLine(out.centre.points, out.startPosition, out.splits)) {
    why = "the centre line gives no sector splits";
    return false;
  }
  return true;
}

bool CircuitCache::folderOf(const CircuitId& circuit, std::string& folder, std::string& why) {
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
    if (made_ >= maxCircuits_) {
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
    ++made_;
    // The finished set appears whole or not at all; another process may have
    // made the same one meanwhile, and then its copy is used.
    fs::rename(scratch, target, ec);
    if (ec) fs::remove_all(scratch, ec);
  }
  ready_[name] = target;
  folder = target;
  return true;
}
