// libFuzzer target: any byte string given to the ghost reader is either refused
// with a reason and leaves the lap untouched, or gives a lap that keeps every
// promise of a loaded one and writes back to exactly the same bytes.
#include "game/laps/ghost_file.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The track the seeds name (see fuzz_ghost_seeds.cpp).
constexpr uint64_t kFuzzTrack = 0x5eed5eed5eed5eedull;

void require(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  GhostLap lap;
  lap.lapTime = -1.0f;
  std::string why;
  if (!parseGhost(data, size, kFuzzTrack, lap, why)) {
    require(!why.empty() && lap.inputs.empty() && lap.poses.empty() && lap.lapTime == -1.0f);
    return 0;
  }
  size_t ticks = lap.inputs.size();
  require(ticks >= 1 && ticks <= kMaxGhostTicks && lap.poses.size() == ticks);
  require(lap.lapTime == lapTimeOfTicks(uint32_t(ticks)) && lap.trackId == kFuzzTrack);
  require(lap.start.gear >= 1 && lap.start.gear <= 5);
  for (const GhostPose& pose : lap.poses)
    require(std::isfinite(pose.position.x) && std::isfinite(pose.position.y) && std::isfinite(pose.position.z));
  std::vector<uint8_t> again = encodeGhost(lap);
  require(again.size() == size && std::equal(again.begin(), again.end(), data));
  return 0;
}
