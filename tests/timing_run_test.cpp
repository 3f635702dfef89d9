// The timing aids in the headless runner on the test oval: each lap's sectors,
// and the delta column of a run against the runner's own best lap.

#include "tests/sim_tracks.h"

#include "game/laps/ghost_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

using namespace simtracks;

namespace {

constexpr const char* kRun = "--autopilot --ticks 10000";

// The "lap N:" and "sectors N:" lines of a summary, as hundredths.
struct LapLines {
  std::vector<long> laps;
  std::vector<std::vector<long>> sectors;
};

LapLines lapLines(const std::string& summary) {
  LapLines out;
  std::istringstream in(summary);
  std::string line;
  while (std::getline(in, line)) {
    int n = 0;
    long m = 0, s = 0, c = 0, a[6] = {};
    if (std::sscanf(line.c_str(), "lap %d: %ld:%ld.%ld", &n, &m, &s, &c) == 4) {
      out.laps.push_back(m * 6000 + s * 100 + c);
    } else if (std::sscanf(line.c_str(), "sectors %d: %ld.%ld %ld.%ld %ld.%ld", &n, &a[0], &a[1], &a[2], &a[3], &a[4],
                           &a[5]) == 7) {
      out.sectors.push_back({a[0] * 100 + a[1], a[2] * 100 + a[3], a[4] * 100 + a[5]});
    }
  }
  return out;
}

// The delta column (the last) of a telemetry file, one value a tick.
std::vector<double> deltaColumn(const std::string& csv) {
  std::vector<double> out;
  std::istringstream in(csv);
  std::string line;
  std::getline(in, line);
  EXPECT_EQ(line.substr(line.rfind(',') + 1), "delta");
  while (std::getline(in, line)) {
    std::string v = line.substr(line.rfind(',') + 1);
    out.push_back(v == "nan" ? NAN : std::stod(v));
  }
  return out;
}

// Ticks of a lap the display shows as `hundredths`: one tick is more than a
// hundredth, so exactly one count of ticks reads so.
long ticksOfLap(long hundredths) {
  float timer = 0.0f;
  for (long n = 1;; ++n) {
    timer += 0.013333334f;
    if (long(timer * 100.0f) == hundredths) return n;
    if (long(timer * 100.0f) > hundredths) return -1;
  }
}

class TimingRun : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = makeDataFolder();
    ASSERT_TRUE(writeOval(dir));
  }
  void TearDown() override { removeDataFolder(dir); }
  std::string dir;
};

void expectSectorsAddUp(const LapLines& lines) {
  ASSERT_EQ(lines.sectors.size(), lines.laps.size());
  for (size_t i = 0; i < lines.laps.size(); ++i) {
    long sum = lines.sectors[i][0] + lines.sectors[i][1] + lines.sectors[i][2];
    EXPECT_EQ(sum, lines.laps[i]) << "lap " << i + 1;
    for (long s : lines.sectors[i]) EXPECT_GT(s, lines.laps[i] / 6) << "lap " << i + 1;
  }
}

}  // namespace

TEST_F(TimingRun, SectorsOnTheCentreLineAddUpToEachLap) {
  ASSERT_EQ(runSim(dir, kRun), 0) << readFile(dir + "/err.txt");
  std::string summary = readFile(dir + "/out.txt");
  LapLines lines = lapLines(summary);
  ASSERT_GE(lines.laps.size(), 2u) << summary;
  expectSectorsAddUp(lines);
  // The best lap the first run left in ghosts/ does not move the split points.
  ASSERT_EQ(runSim(dir, kRun), 0) << readFile(dir + "/err.txt");
  EXPECT_EQ(readFile(dir + "/out.txt"), summary);
}

TEST_F(TimingRun, DeltaAgainstTheRunnersOwnBestLap) {
  ASSERT_EQ(runSim(dir, kRun), 0) << readFile(dir + "/err.txt");
  LapLines first = lapLines(readFile(dir + "/out.txt"));
  ASSERT_GE(first.laps.size(), 2u);
  std::string lap = readFile(dir + "/ghosts/best.ghost");
  ASSERT_FALSE(lap.empty());
  writeFile(dir + "/lap.ghost", lap);

  ASSERT_EQ(runSim(dir, std::string(kRun) + " --ghost lap.ghost --telemetry t.csv"), 0) << readFile(dir + "/out.txt");
  std::string summary = readFile(dir + "/out.txt");
  LapLines lines = lapLines(summary);
  ASSERT_EQ(lines.laps, first.laps) << summary;
  expectSectorsAddUp(lines);
  std::vector<double> delta = deltaColumn(readFile(dir + "/t.csv"));
  ASSERT_EQ(delta.size(), 10000u);

  // Blank until the car first touches the line.
  size_t start = 0;
  while (start < delta.size() && std::isnan(delta[start])) ++start;
  ASSERT_GT(start, 0u);
  ASSERT_LT(start, delta.size());

  // The ghost is the run's first fastest lap, which this run drives again.
  long best = first.laps[0];
  size_t bestLap = 0;
  for (size_t i = 1; i < first.laps.size(); ++i)
    if (first.laps[i] < best) best = first.laps[i], bestLap = i;
  std::vector<size_t> lapStart = {start};
  for (long hundredths : lines.laps) {
    long ticks = ticksOfLap(hundredths);
    ASSERT_GT(ticks, 0);
    lapStart.push_back(lapStart.back() + size_t(ticks));
  }
  for (size_t t = lapStart[bestLap]; t < lapStart[bestLap + 1]; ++t)
    ASSERT_NEAR(delta[t], 0.0, 0.01) << "tick " << t;

  // The first lap, from a standing start, is slower by X: it ends at +X.
  ASSERT_NE(bestLap, 0u);
  double slower = (lines.laps[0] - best) / 100.0;
  EXPECT_GT(slower, 0.5);
  EXPECT_NEAR(delta[lapStart[1] - 1], slower, 0.05);
}

// --ghost sets the lap as the reference of both classes: a turbo lap, whose
// class the line's tick decides, shows the delta on every tick as a plain one.
TEST_F(TimingRun, ATurboLapShowsTheDeltaOnEveryTickPastTheLine) {
  ASSERT_EQ(runSim(dir, "--autopilot --ticks 3000"), 0) << readFile(dir + "/err.txt");
  writeFile(dir + "/lap.ghost", readFile(dir + "/ghosts/best.ghost"));
  for (const char* turbo : {"", " --turbo"}) {
    std::string run = std::string(kRun) + turbo + " --ghost lap.ghost --telemetry t.csv";
    ASSERT_EQ(runSim(dir, run), 0) << readFile(dir + "/out.txt");
    std::vector<double> delta = deltaColumn(readFile(dir + "/t.csv"));
    size_t start = 0;
    while (start < delta.size() && std::isnan(delta[start])) ++start;
    ASSERT_GT(start, 0u) << run;
    for (size_t t = start; t < delta.size(); ++t) ASSERT_FALSE(std::isnan(delta[t])) << run << ": tick " << t;
  }
}

TEST_F(TimingRun, ARefusedLapFileEndsTheRun) {
  writeFile(dir + "/lap.ghost", "not a ghost");
  EXPECT_EQ(runSim(dir, "--ghost lap.ghost --ticks 10"), 3);
  EXPECT_NE(readFile(dir + "/out.txt").find("ghost refused: "), std::string::npos);
}
