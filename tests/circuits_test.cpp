// Whole data sets of the default circuit and of seeded ones, made by the
// stravo-datagen program: the autopilot laps each of them cleanly, and a seed
// always gives the same files.

#include "tests/sim_tracks.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using namespace simtracks;

namespace {

constexpr long long kTicks = 40000;  // 8.9 minutes: three laps and more on every circuit tested
constexpr size_t kLaps = 3;

// Runs stravo-datagen (with --seed when seed >= 0) into a fresh folder.
std::string generate(int seed) {
  std::string dir = makeDataFolder();
  if (dir.empty()) return dir;
  std::string cmd = std::string(STRAVO_DATAGEN_PATH) + (seed >= 0 ? " --seed " + std::to_string(seed) : "") + " '" +
                    dir + "' >'" + dir + "/datagen.txt' 2>&1";
  if (std::system(cmd.c_str()) != 0) {
    removeDataFolder(dir);
    return "";
  }
  return dir;
}

class EveryCircuitDriven : public ::testing::TestWithParam<int> {};

}  // namespace

TEST_P(EveryCircuitDriven, AutopilotLapsThreeTimesWithoutRecoveryOrLeavingTheRoad) {
  std::string dir = generate(GetParam());
  ASSERT_FALSE(dir.empty());
  int code = runSim(dir, "--autopilot --ticks " + std::to_string(kTicks));
  std::string out = readFile(dir + "/out.txt");
  removeDataFolder(dir);
  ASSERT_EQ(code, 0) << out;
  EXPECT_GE(lapTimes(out).size(), kLaps) << out;
  EXPECT_NE(out.find("recoveries: 0\n"), std::string::npos) << out;
  // Asphalt only: no wheel ever on grass, gravel or anything else.
  EXPECT_NE(out.find("off-road wheel ticks: 0\n"), std::string::npos) << out;
}

INSTANTIATE_TEST_SUITE_P(DefaultAndSeeds, EveryCircuitDriven, ::testing::Values(-1, 1, 2, 3, 4, 5),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return info.param < 0 ? std::string("Default") : "Seed" + std::to_string(info.param);
                         });

TEST(SeededDataSet, SameSeedSameBytesOtherSeedOtherCentreLine) {
  std::string a = generate(4), b = generate(4), c = generate(5);
  ASSERT_FALSE(a.empty() || b.empty() || c.empty());
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(a + "/data")) {
    if (!entry.is_regular_file()) continue;
    std::string relative = std::filesystem::relative(entry.path(), a).string();
    EXPECT_EQ(readFile(a + "/" + relative), readFile(b + "/" + relative)) << relative;
    ++files;
  }
  EXPECT_GT(files, 50);
  EXPECT_NE(readFile(a + "/data/track.line"), readFile(c + "/data/track.line"));
  EXPECT_EQ(readFile(a + "/data/datagen.version").find(" seed 4\n") != std::string::npos, true);
  for (const std::string& dir : {a, b, c}) removeDataFolder(dir);
}
