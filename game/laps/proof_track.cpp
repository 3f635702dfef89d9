#include "game/laps/proof_track.h"

#include "app/files.h"
#include "game/laps/ghost_file.h"
#include "game/laps.h"
#include "game/prop_file.h"
#include "game/startup_models.h"
#include "physics/world.h"

#include <vector>

namespace {

bool readData(const std::string& folder, const char* name, size_t maxBytes, std::vector<unsigned char>& bytes) {
  return readWholeFile((folder + "data\\" + name).c_str(), maxBytes, bytes);
}

// A whole number 0..2^32-1 of digits only, at `text[at]`; advances `at`.
bool readNumber(const std::string& text, size_t& at, uint32_t& out) {
  uint64_t v = 0;
  size_t begin = at;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - begin < 10) {
    v = v * 10 + uint64_t(text[at] - '0');
    ++at;
  }
  if (at == begin || v > 0xffffffffull) return false;
  out = uint32_t(v);
  return true;
}

}  // namespace

ProofTrack::~ProofTrack() {
  if (ownsTree) destroyQuadtree(tree);
}

void finishProofTrack(ProofTrack& track) {
  GameState state;
  state.startPosition = track.startPosition;
  state.startHeading = track.startHeading;
  computeStartLine(state);
  track.lineA = state.startLineA;
  track.lineB = state.startLineB;
}

bool parseVersionStamp(const uint8_t* data, size_t size, ProofCircuit& out) {
  std::string text(reinterpret_cast<const char*>(data), size);
  if (text.empty() || text.back() != '\n') return false;
  text.pop_back();
  size_t at = 0;
  ProofCircuit circuit = out;
  if (!readNumber(text, at, circuit.generatorVersion)) return false;
  circuit.seeded = false;
  circuit.seed = 0;
  const std::string seedWord = " seed ";
  if (text.compare(at, seedWord.size(), seedWord) == 0) {
    at += seedWord.size();
    if (!readNumber(text, at, circuit.seed)) return false;
    circuit.seeded = true;
  }
  if (at != text.size()) return false;
  out = circuit;
  return true;
}

void readProofTrackData(const std::string& folder, ProofTrack& track) {
  std::vector<unsigned char> bytes;
  if (readData(folder, "models\\track1.rmd", kMaxRmdFileBytes, bytes)) track.circuit.trackId = trackIdentity(bytes.data(), bytes.size());
  int badLine = 0;
  std::string why;
  if (!readData(folder, "track.line", kMaxTextFileBytes, bytes) ||
      !parseTrackLine(bytes.data(), bytes.size(), track.centreLine, badLine, why))
    track.centreLine = TrackLine();
  if (readData(folder, "datagen.version", kMaxTextFileBytes, bytes)) parseVersionStamp(bytes.data(), bytes.size(), track.circuit);
}

bool loadProofTrack(const std::string& dir, ProofTrack& track, std::string& why) {
  PhWorld world;
  std::string failedPath;
  if (!loadTrackWithCollision(dir + "\\", track.mesh, world, track.tree, failedPath)) {
    why = "cannot load the track " + platformPath(failedPath.c_str());
    return false;
  }
  track.ownsTree = true;
  PropFile props;
  if (readPropFile((dir + "\\data\\trees.prp").c_str(), props)) {
    track.startPosition = props.startPosition;
    track.startHeading = props.startHeading;
  }
  finishProofTrack(track);
  readProofTrackData(dir + "\\", track);
  return true;
}
