// Writes the seed corpus of fuzz_proof into the folder given as the argument:
// short runs with key, switch and axis changes and a recovery.
#include "game/laps/proof_file.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

LapProof run(uint32_t lapStart, uint32_t lapEnd, bool analog) {
  LapProof proof;
  proof.lapStartTick = lapStart;
  proof.lapEndTick = lapEnd;
  proof.lapTime = lapTimeOfTicks(lapEnd - lapStart);
  ProofChange c;
  c.input.keys = 1u << 1;
  c.input.flags = kGhostAutoGearbox | (analog ? kGhostAnalog : 0u);
  proof.changes.push_back(c);
  for (uint32_t t = 3; t <= lapEnd; t += 5) {
    c.tick = t;
    c.recovery = t == 8;
    c.input.keys ^= 1u << 3;
    if (analog) c.input.axes[0] = float(t % 7) / 7.0f - 0.5f;
    proof.changes.push_back(c);
  }
  return proof;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_FOLDER\n", argv[0]);
    return 2;
  }
  const LapProof seeds[] = {run(0, 1, false), run(4, 40, true), run(100, 400, false)};
  int number = 0;
  for (const LapProof& p : seeds) {
    std::string path = std::string(argv[1]) + "/seed" + std::to_string(number++) + ".ghost";
    std::vector<uint8_t> bytes = encodeProof(p);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    std::fclose(f);
  }
  return 0;
}
