#include "game/laps/ghost_files.h"

#include "app/files.h"
#include "app/log.h"
#include "game/game_state.h"
#include "game/laps/ghost_car.h"
#include "game/laps/ghosts.h"
#include "game/laps/proof_verify.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr size_t kFormatVersionAt = 8;

bool olderFormat(const std::vector<unsigned char>& bytes) {
  return bytes.size() >= kFormatVersionAt + 4 && bytes[kFormatVersionAt] == 1 && bytes[kFormatVersionAt + 1] == 0 &&
         bytes[kFormatVersionAt + 2] == 0 && bytes[kFormatVersionAt + 3] == 0;
}

}  // namespace

bool readGhostFile(const std::string& path, const ProofTrack& track, GhostLap& lap, std::string& why) {
  std::vector<unsigned char> bytes;
  if (!readWholeFile(path.c_str(), std::max(kMaxProofBytes, maxGhostFileBytes()), bytes, why)) return false;
  if (olderFormat(bytes)) {
    GhostCar check;
    return parseGhost(bytes.data(), bytes.size(), track.circuit.trackId, lap, why) &&
           verifyGhostLap(check, lap, track.tree, track.lineA, track.lineB, why);
  }
  LapProof proof;
  ProofVerdict verdict;
  return parseProof(bytes.data(), bytes.size(), proof, why) && ghostOfProof(proof, track, lap, verdict, why);
}

void ghostProofTrack(const Ghosts& ghosts, const GameState& state, const std::string& folder, ProofTrack& track) {
  track.tree = ghosts.tree;
  track.ownsTree = false;
  track.startPosition = state.startPosition;
  track.startHeading = state.startHeading;
  track.lineA = ghosts.lineA;
  track.lineB = ghosts.lineB;
  readProofTrackData(folder, track);
  track.circuit.trackId = ghosts.trackId;
}

void loadGhostFiles(Ghosts& ghosts, const GameState& state, const std::string& folder) {
  ghosts.readFile = readGhostFile;
  auto track = std::make_shared<ProofTrack>();
  ghostProofTrack(ghosts, state, folder, *track);
  ghosts.fileTrack = track;
  setGhostCourse(ghosts, track->circuit, track->centreLine);
  for (LapClass lapClass : kLapClasses) {
    std::string path = ghostPath(ghosts, lapClass);
    if (!pathExists(path.c_str())) continue;
    GhostLap lap;
    std::string why;
    bool ok = readGhostFile(path, *track, lap, why);
    if (ok && lap.lapClass != lapClass) {
      why = lapClass == LapClass::Turbo ? "not a turbo lap" : "a turbo lap";
      ok = false;
    }
    if (ok)
      takeGhostLap(ghosts, lap);
    else
      logLine("Main: Ghost file \"%s\" refused: %s", path.c_str(), why.c_str());
  }
}
