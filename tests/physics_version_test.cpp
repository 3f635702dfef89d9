// The car's behaviour against its physics version: a fixed drive of 2000 ticks
// on the test oval (away, through a corner, into the gravel and braking) gives
// one end-state hash per version. A change to the car's step or constants
// changes the hash; bump kPhysicsVersion with it (older proofs are then
// refused) and add the new version's hash to the table.

#include "tests/proof_drive.h"
#include "tests/sim_tracks.h"

#include "game/laps/car_noise_table.h"
#include "game/laps/proof_state.h"
#include "vehicle/car_state.h"

#include <gtest/gtest.h>

#include <map>

using namespace proofdrive;
using namespace simtracks;

namespace {

const std::map<uint32_t, uint64_t> kFixedDriveHashes = {
    {1, 0x0fc8393aa5217b62ull},
};

struct ScriptStep {
  int ticks;
  int key;  // held for the step, 0 for none
  bool throttle;
};

// Off the line, a long right turn into the gravel, then the brakes.
const ScriptStep kScript[] = {
    {400, 0, true},
    {120, kKeyRight, true},
    {300, 0, true},
    {200, kKeyLeft, true},
    {180, kKeyShiftUp, true},
    {400, kKeyRight, true},
    {400, kKeyBrake, false},
};

TEST(PhysicsVersion, FixedDriveMatchesTheVersionsHash) {
  std::string dir = makeDataFolder();
  ASSERT_TRUE(writeOval(dir));
  Drive d;
  std::string why;
  ASSERT_TRUE(openDrive(dir, d, why)) << why;
  restart(d);
  CarNoiseTable noise;
  int ticks = 0;
  int roughWheelTicks = 0;  // the bump texture reads the noise table there
  for (const ScriptStep& step : kScript) {
    for (int t = 0; t < step.ticks; ++t) {
      d.source.setKey(kKeyThrottle, step.throttle);
      if (step.key != 0) d.source.setKey(step.key, t % 2 == 0 || step.key != kKeyShiftUp);
      tick(d);
      ++ticks;
      for (const CarWheel& w : d.car->wheels) roughWheelTicks += w.surface == 1 ? 1 : 0;
    }
    if (step.key != 0) d.source.setKey(step.key, false);
  }
  ASSERT_EQ(ticks, 2000);
  EXPECT_GT(roughWheelTicks, 100);
  uint64_t hash = proofStateHash(*d.car);
  removeDataFolder(dir);
  auto known = kFixedDriveHashes.find(kPhysicsVersion);
  ASSERT_NE(known, kFixedDriveHashes.end()) << "no hash for physics version " << kPhysicsVersion << ": add 0x"
                                            << std::hex << hash;
  EXPECT_EQ(hash, known->second) << "the car drives differently: bump kPhysicsVersion (vehicle/car_state.h) "
                                    "and add its hash 0x"
                                 << std::hex << hash;
}

}  // namespace
