#include "app/bench_lap.h"
#include "app/bench_record.h"
#include "game/game_state.h"
#include "game/laps/ghosts.h"
#include "game/laps.h"
#include "game/prop_file.h"
#include "game/startup_models.h"
#include "game/track_line.h"
#include "physics/world.h"
#include "render/rmd_mesh.h"
#include "tests/generated_data_set.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

namespace {

constexpr double kTol = 1e-9;

BenchFrame frameOf(double ms) {
  BenchFrame frame;
  frame.frameMs = ms;
  return frame;
}

std::vector<BenchFrame> framesOf(std::initializer_list<double> ms) {
  std::vector<BenchFrame> frames;
  for (double m : ms) frames.push_back(frameOf(m));
  return frames;
}

}  // namespace

TEST(BenchRecord, NearestRankPercentiles) {
  EXPECT_EQ(nearestRankPercentile({}, 50.0), 0.0);
  EXPECT_EQ(nearestRankPercentile({7.0}, 99.0), 7.0);
  // Ten values: p50 is the 5th, p95 and p99 the 10th, whatever the order given.
  std::vector<double> ten = {10, 1, 9, 2, 8, 3, 7, 4, 6, 5};
  EXPECT_EQ(nearestRankPercentile(ten, 50.0), 5.0);
  EXPECT_EQ(nearestRankPercentile(ten, 95.0), 10.0);
  EXPECT_EQ(nearestRankPercentile(ten, 10.0), 1.0);
  EXPECT_EQ(nearestRankPercentile(ten, 100.0), 10.0);
  // A hundred: p99 is the 99th, so one stall in a hundred frames is not p99.
  std::vector<double> hundred(100, 20.0);
  hundred[42] = 90.0;
  EXPECT_EQ(nearestRankPercentile(hundred, 99.0), 20.0);
  hundred[17] = 80.0;
  EXPECT_EQ(nearestRankPercentile(hundred, 99.0), 80.0);
}

TEST(BenchRecord, SummaryAndItsLine) {
  BenchSummary s = summarizeBench(framesOf({20.0, 20.0, 20.0, 40.0}));
  EXPECT_EQ(s.frames, 4u);
  EXPECT_NEAR(s.averageFps, 4000.0 / 100.0, kTol);  // frames over summed time, not a mean of rates
  EXPECT_EQ(s.p50, 20.0);
  EXPECT_EQ(s.max, 40.0);
  EXPECT_EQ(benchLine(s), "bench: 4 frames, 40.0 FPS, frame ms p50 20.0 p95 40.0 p99 40.0 max 40.0");
  EXPECT_EQ(benchLine(summarizeBench({})), "bench: 0 frames, 0.0 FPS, frame ms p50 0.0 p95 0.0 p99 0.0 max 0.0");
}

TEST(BenchRecord, CsvHasAHeaderAndARowAFrame) {
  BenchFrame frame{1.5, 18.25, 2, 35466};
  EXPECT_EQ(benchCsv({frame}), "time_s,frame_ms,ticks,triangles\n1.5000,18.250,2,35466\n");
  EXPECT_EQ(benchCsv({}), "time_s,frame_ms,ticks,triangles\n");
}

// The autopilot's lap of the generated circuit, on the game's track and start.
class BenchLap : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why, failed;
    ASSERT_TRUE(data.enter(why)) << why;
    ASSERT_TRUE(loadTrackWithCollision("", trackMesh, world, tree, failed)) << failed;
    PropFile props;
    ASSERT_TRUE(readPropFile("data\\trees.prp", props));
    game.startPosition = props.startPosition;
    game.startHeading = props.startHeading;
    computeStartLine(game);
    track = {tree, trackIdentityOfFile("data\\models\\track1.rmd"), &game};
    ASSERT_TRUE(loadBenchTrackLine("data\\track.line", line, why)) << why;
  }
  void TearDown() override {
    destroyQuadtree(tree);
    data.leave();
  }

  GeneratedDataSet data;
  RMDMesh trackMesh;
  PhWorld world;
  CollisionQuadtree* tree = nullptr;
  GameState game;
  BenchTrack track;
  TrackLine line;
};

TEST_F(BenchLap, AutopilotLapIsTheSameEveryTimeAndProvesItself) {
  GhostLap first, second;
  std::string why;
  ASSERT_TRUE(autopilotBenchLap(line, track, first, why)) << why;
  ASSERT_TRUE(autopilotBenchLap(line, track, second, why)) << why;
  EXPECT_EQ(encodeGhost(first), encodeGhost(second));
  // The lap the session's `stravo-sim --autopilot --ticks 8000` keeps: 1:20.18.
  EXPECT_EQ(int(first.lapTime * 100.0f), 8018);

  // On a board the bench drives the whole run from the menu's restart to that lap's end.
  GhostLap third;
  LapProof run;
  ASSERT_TRUE(autopilotBenchLap(line, track, third, why, &run)) << why;
  EXPECT_EQ(encodeGhost(third), encodeGhost(first));
  EXPECT_EQ(run.start, ProofStart::Restart);
  EXPECT_EQ(run.lapTime, first.lapTime);
  EXPECT_EQ(size_t(run.lapEndTick - run.lapStartTick), first.inputs.size());
  ASSERT_FALSE(run.changes.empty());
  EXPECT_LE(run.changes.back().tick, run.lapEndTick);

  ASSERT_TRUE(saveGhost("bench.ghost", first, why)) << why;
  GhostLap loaded;
  EXPECT_TRUE(loadBenchLap("bench.ghost", track, loaded, why)) << why;
  EXPECT_EQ(encodeGhost(loaded), encodeGhost(first));
}

TEST_F(BenchLap, DamagedOrMissingGhostIsRefused) {
  GhostLap lap;
  std::string why;
  EXPECT_FALSE(loadBenchLap("missing.ghost", track, lap, why));
  EXPECT_FALSE(why.empty());
  ASSERT_TRUE(autopilotBenchLap(line, track, lap, why)) << why;
  std::vector<uint8_t> bytes = encodeGhost(lap);
  bytes[bytes.size() / 2] ^= 0x40;
  FILE* file = std::fopen("damaged.ghost", "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
  why.clear();
  EXPECT_FALSE(loadBenchLap("damaged.ghost", track, lap, why));
  EXPECT_FALSE(why.empty());
}
