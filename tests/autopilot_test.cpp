#include "tests/sim_tracks.h"
#include "game/track_line.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace simtracks;

namespace {

constexpr double kCurvatureTol = 1e-3;  // 1/m
constexpr double kLapSpreadLimit = 0.01;  // fastest to slowest lap

bool parseLine(const std::string& text, TrackLine& out, int& badLine) {
  std::string why;
  return parseTrackLine(reinterpret_cast<const uint8_t*>(text.data()), text.size(), out, badLine, why);
}

// A circle of radius r sampled every ~2 m, anticlockwise seen from above.
std::string circleText(double r, bool leftTurning) {
  std::string text = "# centre line\n";
  int n = int(2 * M_PI * r / 2.0);
  for (int i = 0; i < n; ++i) {
    double a = 2 * M_PI * i / n * (leftTurning ? 1 : -1);
    char row[64];
    std::snprintf(row, sizeof(row), "%.6f 1.5 %.6f\n", r * std::cos(a), -r * std::sin(a));
    text += row;
  }
  return text;
}

}  // namespace

TEST(TrackLine, CurvatureSignFollowsTheTurn) {
  TrackLine left, right;
  int bad = 0;
  ASSERT_TRUE(parseLine(circleText(40.0, true), left, bad));
  ASSERT_TRUE(parseLine(circleText(40.0, false), right, bad));
  EXPECT_NEAR(left.curvature[5], 1.0 / 40.0, kCurvatureTol);
  EXPECT_NEAR(right.curvature[5], -1.0 / 40.0, kCurvatureTol);
  EXPECT_NEAR(left.length, 2 * M_PI * 40.0, 0.1);
  // The loop closes: the first point's neighbours wrap round.
  EXPECT_NEAR(left.curvature[0], 1.0 / 40.0, kCurvatureTol);
  EXPECT_EQ(nearestPoint(left, left.points[17]), 17u);
  EXPECT_EQ(nearestPointNear(left, left.points[2], left.size() - 3, 10, 10), 2u);
}

TEST(TrackLine, MalformedTextIsRefusedWithItsLine) {
  TrackLine line;
  int bad = 0;
  std::string good = circleText(20.0, true);
  EXPECT_FALSE(parseLine(good + "1 2\n", line, bad));
  EXPECT_EQ(bad, int(std::count(good.begin(), good.end(), '\n')) + 1);
  EXPECT_FALSE(parseLine("# c\n1 2 3 4\n", line, bad));
  EXPECT_EQ(bad, 2);
  EXPECT_FALSE(parseLine("1 nan 3\n", line, bad));
  EXPECT_FALSE(parseLine("1 1e999 3\n", line, bad));
  EXPECT_FALSE(parseLine("0 0 0\n0 5 0\n", line, bad));  // same place seen from above
  EXPECT_EQ(bad, 2);
  EXPECT_FALSE(parseLine("0 0 0\n1 0 0\n2 0 1\n", line, bad));  // too few to drive
  EXPECT_FALSE(parseLine("", line, bad));
}

TEST(Autopilot, LapsTheOvalOnTheRoadAtAnEvenPace) {
  std::string dir = makeDataFolder();
  ASSERT_FALSE(dir.empty());
  ASSERT_TRUE(writeOval(dir));
  // About six laps of 977 m.
  int code = runSim(dir, "--autopilot --ticks 18000");
  std::string out = readFile(dir + "/out.txt");
  removeDataFolder(dir);
  ASSERT_EQ(code, 0) << out;

  std::vector<double> laps = lapTimes(out);
  ASSERT_GE(laps.size(), 3u) << out;
  // The first lap starts from rest; the flying laps must agree.
  double fastest = 1e9, slowest = 0;
  for (size_t i = 1; i < laps.size(); ++i) {
    fastest = std::min(fastest, laps[i]);
    slowest = std::max(slowest, laps[i]);
  }
  EXPECT_LE((slowest - fastest) / fastest, kLapSpreadLimit) << out;
  EXPECT_NE(out.find("recoveries: 0\n"), std::string::npos) << out;
  EXPECT_NE(out.find("off-road wheel ticks: 0\n"), std::string::npos) << out;
}

TEST(Autopilot, WithoutACentreLineTheRunFails) {
  std::string dir = makeDataFolder();
  ASSERT_TRUE(writeOval(dir));
  std::remove((dir + "/data/track.line").c_str());
  int code = runSim(dir, "--autopilot --ticks 10");
  std::string err = readFile(dir + "/err.txt");
  removeDataFolder(dir);
  EXPECT_EQ(code, 1);
  EXPECT_NE(err.find("track.line"), std::string::npos);
}
