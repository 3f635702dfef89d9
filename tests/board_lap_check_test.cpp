// A lap proof judged by the board: an autopilot lap of the generated circuit
// is proven with its sectors, and damaged, forged, foreign and off-road laps
// are told apart with their reasons.

#include "tests/generated_data_set.h"
#include "tests/sim_tracks.h"

#include "board/lap_check.h"
#include "board/verifier_pool.h"
#include "game/laps/ghost_car.h"
#include "game/laps/ghost_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace simtracks;

namespace {

constexpr float kSumTol = 1e-3f;  // s

class BoardLapCheck : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    data = new GeneratedDataSet();
    std::string why;
    ASSERT_TRUE(data->enter(why)) << why;
    ASSERT_EQ(runSim(data->root, "--autopilot"), 0) << readFile(data->root + "/err.txt");
    std::string bytes = readFile(data->root + "/ghosts/best.ghost");
    proof = new std::vector<uint8_t>(bytes.begin(), bytes.end());
    drawGameNoiseTable();
    verifier = new Verifier();
    track = new CircuitTrack();
    ASSERT_TRUE(loadCircuitTrack(data->root, *track, why)) << why;
  }
  static void TearDownTestSuite() {
    delete track;
    delete verifier;
    delete proof;
    data->leave();
    delete data;
  }

  bool check(const std::vector<uint8_t>& bytes, CheckedLap& out, std::string& why, const CircuitTrack& on) {
    LapClaim claim;
    claim.generatorVersion = kGeneratorVersion;
    return checkLap(bytes.data(), bytes.size(), claim, on, *verifier->ghost, out, why);
  }

  static GeneratedDataSet* data;
  static std::vector<uint8_t>* proof;
  static Verifier* verifier;
  static CircuitTrack* track;
};

GeneratedDataSet* BoardLapCheck::data = nullptr;
std::vector<uint8_t>* BoardLapCheck::proof = nullptr;
Verifier* BoardLapCheck::verifier = nullptr;
CircuitTrack* BoardLapCheck::track = nullptr;

TEST_F(BoardLapCheck, AutopilotLapIsProvenCleanWithSectorsThatAddUp) {
  CheckedLap lap;
  std::string why;
  ASSERT_TRUE(check(*proof, lap, why, *track)) << why;
  EXPECT_TRUE(lap.clean) << lap.uncleanWhy;
  EXPECT_EQ(lap.lapClass, LapClass::Plain);
  EXPECT_EQ(lap.lapTime, lapTimeOfTicks(lap.ticks));
  EXPECT_EQ(lap.trackId, track->trackId);
  float sum = lap.sectors[0] + lap.sectors[1] + lap.sectors[2];
  EXPECT_NEAR(sum, lap.lapTime, kSumTol);
  for (float s : lap.sectors) EXPECT_GT(s, lap.lapTime / 6.0f);
  // Checked twice on one verifier: the same verdict, nothing left over.
  CheckedLap again;
  ASSERT_TRUE(check(*proof, again, why, *track)) << why;
  EXPECT_EQ(std::memcmp(again.sectors, lap.sectors, sizeof(lap.sectors)), 0);
}

TEST_F(BoardLapCheck, DamagedAndForeignProofsAreRefusedWithTheReason) {
  CheckedLap lap;
  std::string why;
  std::vector<uint8_t> damaged = *proof;
  damaged[damaged.size() / 2] ^= 1;
  EXPECT_FALSE(check(damaged, lap, why, *track));
  EXPECT_NE(why.find("checksum"), std::string::npos) << why;

  std::vector<uint8_t> cut(proof->begin(), proof->begin() + 1000);
  EXPECT_FALSE(check(cut, lap, why, *track));

  CircuitTrack other;
  ASSERT_TRUE(loadCircuitTrack(data->root, other, why)) << why;
  other.trackId ^= 1;
  EXPECT_FALSE(check(*proof, lap, why, other));
  EXPECT_NE(why.find("track"), std::string::npos) << why;
}

TEST_F(BoardLapCheck, UnknownGeneratorVersionIsRefusedBeforeDriving) {
  LapClaim request, claim;
  request.generatorVersion = kGeneratorVersion + 1;
  std::string why;
  EXPECT_FALSE(claimOfProof(proof->data(), proof->size(), request, claim, why));
  EXPECT_NE(why.find("generator"), std::string::npos) << why;
  request.generatorVersion = kGeneratorVersion;
  EXPECT_TRUE(claimOfProof(proof->data(), proof->size(), request, claim, why)) << why;
  EXPECT_FALSE(claimOfProof(proof->data(), 8, request, claim, why));
}

TEST_F(BoardLapCheck, LapAwayFromTheRoadIsProvenButNotClean) {
  // The same lap judged against a road moved 20 m aside.
  CircuitTrack moved;
  std::string why;
  ASSERT_TRUE(loadCircuitTrack(data->root, moved, why)) << why;
  for (Vec3& p : moved.centre.points) p.x += 20.0;
  CheckedLap lap;
  ASSERT_TRUE(check(*proof, lap, why, moved)) << why;
  EXPECT_FALSE(lap.clean);
  EXPECT_NE(lap.uncleanWhy.find("off the road"), std::string::npos) << lap.uncleanWhy;
}

TEST_F(BoardLapCheck, TraceRunsTheLapsLengthAtItsSpeeds) {
  std::vector<TraceSample> trace;
  std::string why;
  ASSERT_TRUE(lapTrace(proof->data(), proof->size(), track->trackId, 15, trace, why)) << why;
  ASSERT_GT(trace.size(), 100u);
  EXPECT_NEAR(trace.back().distance, track->centre.length, 0.05 * track->centre.length);
  for (size_t i = 1; i < trace.size(); ++i) {
    EXPECT_GE(trace[i].distance, trace[i - 1].distance);
    EXPECT_GT(trace[i].time, trace[i - 1].time);
    EXPECT_LT(trace[i].speed, 100.0f);  // m/s
  }
}

}  // namespace
