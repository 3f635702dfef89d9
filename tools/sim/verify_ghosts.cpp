#include "tools/sim/verify_ghosts.h"

#include "app/files.h"
#include "game/laps/proof_verify.h"
#include "game/time_display.h"

#include <chrono>
#include <cstdio>

bool verifyGhostFiles(const ProofTrack& track, const std::vector<std::string>& paths) {
  bool allVerified = true;
  double ticks = 0.0, seconds = 0.0;
  for (const std::string& path : paths) {
    std::vector<unsigned char> bytes;
    std::string why;
    ProofVerdict verdict;
    auto begun = std::chrono::steady_clock::now();
    bool verified = false;
    if (readWholeFile(path.c_str(), kMaxProofBytes, bytes, why))
      verified = verifyProof(bytes.data(), bytes.size(), track, verdict, why);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
    if (!verified) {
      std::printf("ghost refused: %s\n", why.c_str());
      allVerified = false;
      continue;
    }
    ticks += verdict.totalTicks;
    if (verdict.clean)
      std::printf("ghost verified: lap %s clean\n", lapTimeText(verdict.lapTime).c_str());
    else
      std::printf("ghost verified: lap %s not clean: %s\n", lapTimeText(verdict.lapTime).c_str(),
                  verdict.notCleanReason.c_str());
  }
  std::fflush(stdout);
  std::fprintf(stderr, "stravo-sim: verified %.0f ticks in %.3f s (%.0f ticks a second)\n", ticks, seconds,
               seconds > 0.0 ? ticks / seconds : 0.0);
  return allVerified;
}
