// libFuzzer target: any byte string given to the proof reader, as it comes and
// with its checksum made to match (so the change records get explored), is
// either refused with a reason or gives a proof that writes back to exactly
// the same bytes; a short one is then driven on a flat square and never
// verifies.
#include "game/laps/proof_file.h"
#include "game/laps/proof_verify.h"
#include "physics/quadtree.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Runs longer than this are only parsed: the drive costs a microsecond a tick.
constexpr uint32_t kLongestDrive = 1500;

void require(bool ok) {
  if (!ok) std::abort();
}

// A flat square of road, 1 km across, with the start at the origin.
const ProofTrack& flatTrack() {
  static ProofTrack* track = [] {
    auto* t = new ProofTrack;
    const float positions[] = {-500, 0, -500, 500, 0, -500, 500, 0, 500, -500, 0, 500};
    const int32_t indices[] = {0, 2, 1, 0, 3, 2};
    const int32_t* groups[] = {indices};
    const int counts[] = {2};
    t->tree = buildQuadtree(positions, 4, 1, counts, groups);
    t->ownsTree = true;
    finishProofTrack(*t);
    return t;
  }();
  return *track;
}

void check(const uint8_t* data, size_t size) {
  LapProof proof;
  proof.lapTime = -1.0f;
  std::string why;
  if (!parseProof(data, size, proof, why)) {
    require(!why.empty() && proof.changes.empty() && proof.lapTime == -1.0f);
    return;
  }
  require(proof.lapStartTick < proof.lapEndTick && proof.lapEndTick < kMaxProofTicks);
  require(!proof.changes.empty() && proof.changes.back().tick <= proof.lapEndTick);
  std::vector<uint8_t> again = encodeProof(proof);
  require(again.size() == size && std::equal(again.begin(), again.end(), data));
  if (proof.lapEndTick > kLongestDrive) return;
  ProofVerdict verdict;
  require(!verifyLapProof(proof, flatTrack(), verdict, why) && !why.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  check(data, size);
  if (size < kProofChecksumBytes || size > kMaxProofBytes) return 0;
  std::vector<uint8_t> sealed(data, data + size);
  uint64_t h = 1469598103934665603ull;
  for (size_t i = 0; i + kProofChecksumBytes < size; ++i) h = (h ^ sealed[i]) * 1099511628211ull;
  for (size_t i = 0; i < kProofChecksumBytes; ++i) sealed[size - kProofChecksumBytes + i] = uint8_t(h >> (8 * i));
  check(sealed.data(), sealed.size());
  return 0;
}
