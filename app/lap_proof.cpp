#include "app/lap_proof.h"

#include "game/laps/ghost_car.h"

std::vector<uint8_t> proofOfLap(const GhostLap& lap) { return encodeGhost(lap); }

bool checkProof(const std::vector<uint8_t>& proof, const ProofTrack& track, GhostCar& ghost, GhostLap& out,
                std::string& why) {
  GhostLap lap;
  if (!parseGhost(proof.data(), proof.size(), track.trackId, lap, why)) return false;
  if (!verifyGhostLap(ghost, lap, track.tree, track.lineA, track.lineB, why)) return false;
  out = std::move(lap);
  return true;
}
