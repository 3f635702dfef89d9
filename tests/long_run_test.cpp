// Thirty simulated minutes of the autopilot on the generated circuit.

#include "tests/sim_tracks.h"

#include "game/tick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace simtracks;

namespace {

constexpr long long kTicks = 135000;  // 30 minutes of 1/75 s
constexpr double kLapSpreadLimit = 0.01;  // slowest flying lap over the fastest
constexpr size_t kMinLaps = 20;
constexpr double kApproachSeconds = 10.0;  // from the restart point to the line


class LongRun : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = makeDataFolder();
    ASSERT_FALSE(dir.empty());
    std::string cmd = std::string(STRAVO_DATAGEN_PATH) + " '" + dir + "' >'" + dir + "/datagen.txt' 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << readFile(dir + "/datagen.txt");
  }
  void TearDown() override { removeDataFolder(dir); }
  std::string dir;
};

}  // namespace

TEST_F(LongRun, AutopilotDrivesHalfAnHourTheSameWayTwice) {
  std::string args = "--autopilot --ticks " + std::to_string(kTicks);
  // Exit code 3 would mean a value of the car became NaN or infinite.
  ASSERT_EQ(runSim(dir, args), 0) << readFile(dir + "/err.txt");
  std::string first = readFile(dir + "/out.txt");
  ASSERT_EQ(runSim(dir, args), 0) << readFile(dir + "/err.txt");
  std::string second = readFile(dir + "/out.txt");

  // Same trajectory hash, same laps, same final position.
  EXPECT_NE(first.find("trajectory: "), std::string::npos);
  EXPECT_EQ(first, second);
  EXPECT_NE(first.find("recoveries: 0\n"), std::string::npos) << first;
  EXPECT_NE(first.find("off-road wheel ticks: 0\n"), std::string::npos) << first;

  // Every lap completes: the laps fill the run, each flying lap within 1% of
  // the others, and what is left over is shorter than a lap.
  std::vector<double> laps = lapTimes(first);
  ASSERT_GE(laps.size(), kMinLaps) << first;
  double fastest = *std::min_element(laps.begin() + 1, laps.end());
  double slowest = *std::max_element(laps.begin() + 1, laps.end());
  EXPECT_LE((slowest - fastest) / fastest, kLapSpreadLimit) << first;
  double driven = 0;
  for (double t : laps) driven += t;
  // Before the first lap the car rolls from rest to the line, 20 m.
  double leftOver = kTicks / double(kTicksPerSecond) - driven;
  EXPECT_GE(leftOver, 0.0);
  EXPECT_LT(leftOver, kApproachSeconds + slowest) << first;
}
