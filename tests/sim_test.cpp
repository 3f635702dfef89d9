// The headless runner driven as a person would: a data folder on disk, a
// script, the command line, and the files and lines it leaves.

#include "tests/sim_tracks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

using namespace simtracks;

namespace {

constexpr double kPosTol = 1e-3;  // the summary prints millimetres

// One column of a telemetry CSV as text, row by row.
std::vector<std::string> column(const std::string& csv, int index) {
  std::vector<std::string> out;
  std::istringstream lines(csv);
  std::string line;
  std::getline(lines, line);  // header
  while (std::getline(lines, line)) {
    std::istringstream cells(line);
    std::string cell;
    for (int i = 0; i <= index; ++i) std::getline(cells, cell, ',');
    out.push_back(cell);
  }
  return out;
}

class SimRun : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = makeDataFolder();
    ASSERT_FALSE(dir.empty());
    ASSERT_TRUE(writeOval(dir));
    // Throttle, a left curve, a brake and a held gear change.
    writeFile(dir + "/drive.txt",
              "0 Up down\n90 Left down\n150 Left up\n200 Up up\n200 Down down\n"
              "230 Down up\n240 Up down # again\n260 S down\n262 S up\n");
  }
  void TearDown() override { removeDataFolder(dir); }

  int sim(const std::string& args) { return runSim(dir, args); }

  std::string dir;
};

}  // namespace

TEST_F(SimRun, MalformedScriptLinesStopTheRunWithTheirLineNumber) {
  const char* bad[][2] = {
      {"0 Up down\n# ok\n12 Jump down\n", ":3:"},
      {"5 Up sideways\n", ":1:"},
      {"\n\n4 axis0 2000\n", ":3:"},
      {"1 analog\n", ":1:"},
      {"x Up down\n", ":1:"},
  };
  for (auto& c : bad) {
    writeFile(dir + "/bad.txt", c[0]);
    EXPECT_EQ(sim("--ticks 10 --input bad.txt"), 2) << c[0];
    std::string err = readFile(dir + "/err.txt");
    EXPECT_NE(err.find(std::string("bad.txt") + c[1]), std::string::npos) << err;
    EXPECT_EQ(readFile(dir + "/out.txt"), "");
  }
  EXPECT_EQ(sim("--ticks 10 --input missing.txt"), 2);
  EXPECT_EQ(sim("--ticks ten"), 2);
  EXPECT_EQ(sim("--fly"), 2);
}

TEST_F(SimRun, MissingTrackFails) {
  std::remove((dir + "/data/models/track1.rmd").c_str());
  EXPECT_EQ(sim("--ticks 10"), 1);
  EXPECT_NE(readFile(dir + "/err.txt").find("track1.rmd"), std::string::npos);
}

TEST_F(SimRun, CarStartsTwentyMetresBehindThePropFileStart) {
  // Start at (10, 0, -30) facing 90 degrees.
  writeFile(dir + "/data/trees.prp", propFile(10.0, 0.0, -30.0, 90.0f));
  ASSERT_EQ(sim("--ticks 0"), 0);
  std::string out = readFile(dir + "/out.txt");
  EXPECT_NE(out.find("ticks: 0\n"), std::string::npos) << out;
  EXPECT_NE(out.find("distance: 0.0 m\n"), std::string::npos) << out;
  double x = 0, y = 0, z = 0;
  size_t at = out.find("final position: ");
  ASSERT_NE(at, std::string::npos);
  ASSERT_EQ(std::sscanf(out.c_str() + at, "final position: %lf %lf %lf", &x, &y, &z), 3);
  // Heading 90 degrees: "behind" is +x.
  EXPECT_NEAR(x, 30.0, kPosTol);
  EXPECT_NEAR(y, 0.7, kPosTol);
  EXPECT_NEAR(z, -30.0, kPosTol);
}

TEST_F(SimRun, SameInputsGiveByteIdenticalTelemetry) {
  ASSERT_EQ(sim("--ticks 300 --input drive.txt --telemetry a.csv"), 0);
  std::string summary = readFile(dir + "/out.txt");
  ASSERT_EQ(sim("--ticks 300 --input drive.txt --telemetry b.csv"), 0);
  std::string a = readFile(dir + "/a.csv");
  EXPECT_EQ(a, readFile(dir + "/b.csv"));
  EXPECT_EQ(summary, readFile(dir + "/out.txt"));
  EXPECT_EQ(a.rfind("tick,x,y,z,vx,vy,vz,kmh,rpm,rpm_avg,gear,clutch,throttle,foot_brake,"
                    "steer_out,boost,load0,load1,load2,load3,grip0,grip1,grip2,grip3,"
                    "susp0,susp1,susp2,susp3,surface0,surface1,surface2,surface3",
                    0),
            0u);
  std::vector<std::string> ticks = column(a, 0);
  ASSERT_EQ(ticks.size(), 300u);
  EXPECT_EQ(ticks.back(), "299");
  EXPECT_NE(summary.find("ticks: 300\n"), std::string::npos);
  EXPECT_NE(summary.find("top speed: "), std::string::npos);
}

TEST_F(SimRun, RecordingPlayedBackReproducesThePositions) {
  ASSERT_EQ(sim("--ticks 300 --input drive.txt --record --telemetry rec.csv"), 0);
  std::string replay = readFile(dir + "/replay.vlr");
  ASSERT_EQ(replay.size(), 4u + 80u * 300u);
  std::rename((dir + "/replay.vlr").c_str(), (dir + "/drive.vlr").c_str());

  // No script this time: every control comes from the recording.
  ASSERT_EQ(sim("--ticks 300 --play drive.vlr --telemetry play.csv"), 0);
  std::string rec = readFile(dir + "/rec.csv"), play = readFile(dir + "/play.csv");
  for (int col = 1; col <= 3; ++col) EXPECT_EQ(column(rec, col), column(play, col)) << col;
  EXPECT_NE(column(rec, 1).back(), column(rec, 1).front());
}

TEST_F(SimRun, ReplayThatDoesNotMatchItsSizeIsRefused) {
  writeFile(dir + "/short.vlr", std::string("\x05\x00\x00\x00", 4) + std::string(80, '\0'));
  EXPECT_EQ(sim("--ticks 10 --play short.vlr"), 1);
}

TEST_F(SimRun, ManualHoldsFirstGearAndTurboAddsSpeed) {
  writeFile(dir + "/flat_out.txt", "0 Up down\n");
  ASSERT_EQ(sim("--ticks 600 --input flat_out.txt --manual --telemetry manual.csv"), 0);
  std::vector<std::string> gears = column(readFile(dir + "/manual.csv"), 10);
  EXPECT_EQ(std::count(gears.begin(), gears.end(), "1"), 600);

  double plain = 0, turbo = 0;
  ASSERT_EQ(sim("--ticks 600 --input flat_out.txt"), 0);
  std::sscanf(readFile(dir + "/out.txt").c_str(), "ticks: %*d\ndistance: %*f m\ntop speed: %lf", &plain);
  ASSERT_EQ(sim("--ticks 600 --input flat_out.txt --turbo"), 0);
  std::sscanf(readFile(dir + "/out.txt").c_str(), "ticks: %*d\ndistance: %*f m\ntop speed: %lf", &turbo);
  EXPECT_GT(plain, 50.0);
  EXPECT_GT(turbo, plain);
}

TEST_F(SimRun, LapColumnsCountLapsAndMeasureEachFromTheLine) {
  ASSERT_EQ(sim("--autopilot --ticks 6000 --telemetry laps.csv"), 0);
  std::string csv = readFile(dir + "/laps.csv");
  std::string header = csv.substr(0, csv.find('\n'));
  ASSERT_EQ(header.substr(header.size() - 22), ",lap,lap_time,distance");
  std::vector<double> summaryLaps = lapTimes(readFile(dir + "/out.txt"));
  ASSERT_GE(summaryLaps.size(), 1u);

  const int lapColumn = 32, timeColumn = 33, distanceColumn = 34;
  std::vector<std::string> lap = column(csv, lapColumn), time = column(csv, timeColumn),
                           distance = column(csv, distanceColumn);
  EXPECT_EQ(lap.front(), "0");
  // The first lap begins 2 m short of the line, 20 m from the start, and ends
  // a circuit later.
  size_t begin = std::find(lap.begin(), lap.end(), "1") - lap.begin();
  size_t end = std::find(lap.begin(), lap.end(), "2") - lap.begin();
  ASSERT_LT(end, lap.size());
  EXPECT_NEAR(std::stod(distance[begin - 1]), 18.0, 1.0);
  EXPECT_EQ(std::stod(distance[begin]), 0.0);
  EXPECT_EQ(std::stod(distance[end]), 0.0);
  EXPECT_NEAR(std::stod(distance[end - 1]), Oval::length(), 0.03 * Oval::length());
  // The last row of a lap holds the time the summary prints, cut to hundredths.
  EXPECT_NEAR(std::stod(time[end - 1]), summaryLaps[0], 0.01);
  for (size_t i = begin + 1; i < end; ++i) ASSERT_GT(std::stod(distance[i]), std::stod(distance[i - 1])) << i;
}
