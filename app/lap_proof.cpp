#include "app/lap_proof.h"

#include "game/laps/ghosts.h"
#include "game/laps/proof_verify.h"

bool proofOfLap(const Ghosts& ghosts, std::vector<uint8_t>& out) {
  if (!ghosts.proofs.haveLap) return false;
  LapProof proof;
  lapProofOf(ghosts.proofs, ghosts.circuit, proof);
  out = encodeProof(proof);
  return true;
}

bool proofClass(const std::vector<uint8_t>& proof, uint64_t trackId, LapClass& out, std::string& why) {
  LapProof parsed;
  if (!parseProof(proof.data(), proof.size(), parsed, why)) return false;
  if (parsed.circuit.trackId != trackId) {
    why = "driven on another track";
    return false;
  }
  out = parsed.lapClass;
  return true;
}

bool checkProof(const std::vector<uint8_t>& proof, const ProofTrack& track, GhostLap& out, std::string& why) {
  LapProof parsed;
  ProofVerdict verdict;
  return parseProof(proof.data(), proof.size(), parsed, why) && ghostOfProof(parsed, track, out, verdict, why);
}
