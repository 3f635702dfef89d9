// A lap proof judged by the board: an autopilot lap of the generated circuit
// is proven with its sectors, and damaged, forged, foreign and off-road laps
// are told apart with their reasons.

#include "tests/generated_data_set.h"
#include "tests/sim_tracks.h"

#include "board/lap_check.h"
#include "board/verifier_pool.h"
#include "game/laps/ghost_file.h"
#include "game/laps/proof_file.h"

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
    track = new CircuitTrack();
    ASSERT_TRUE(loadCircuitTrack(data->root, *track, why)) << why;
  }
  static void TearDownTestSuite() {
    delete track;
    delete proof;
    data->leave();
    delete data;
  }

  bool check(const std::vector<uint8_t>& bytes, CheckedLap& out, std::string& why, const CircuitTrack& on) {
    LapClaim claim;
    claim.generatorVersion = kGeneratorVersion;
    return checkLap(bytes.data(), bytes.size(), claim, on, out, why);
  }

  static GeneratedDataSet* data;
  static std::vector<uint8_t>* proof;
  static CircuitTrack* track;
};

GeneratedDataSet* BoardLapCheck::data = nullptr;
std::vector<uint8_t>* BoardLapCheck::proof = nullptr;
CircuitTrack* BoardLapCheck::track = nullptr;

TEST_F(BoardLapCheck, AutopilotLapIsProvenCleanWithSectorsThatAddUp) {
  CheckedLap lap;
  std::string why;
  ASSERT_TRUE(check(*proof, lap, why, *track)) << why;
  EXPECT_TRUE(lap.clean) << lap.uncleanWhy;
  EXPECT_EQ(lap.lapClass, LapClass::Plain);
  EXPECT_EQ(lap.lapTime, lapTimeOfTicks(lap.ticks));
  EXPECT_EQ(lap.trackId, track->proof.circuit.trackId);
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
  other.proof.circuit.trackId ^= 1;
  EXPECT_FALSE(check(*proof, lap, why, other));
  EXPECT_NE(why.find("track"), std::string::npos) << why;
}

TEST_F(BoardLapCheck, UnknownGeneratorVersionOrAnotherCircuitIsRefusedBeforeDriving) {
  LapClaim request, claim;
  request.generatorVersion = kGeneratorVersion;
  std::string why;
  EXPECT_TRUE(claimOfProof(proof->data(), proof->size(), request, claim, why)) << why;
  EXPECT_EQ(claim.generatorVersion, kGeneratorVersion);
  EXPECT_FALSE(claim.circuit.seeded);
  EXPECT_FALSE(claimOfProof(proof->data(), 8, request, claim, why));

  LapProof parsed;
  ASSERT_TRUE(parseProof(proof->data(), proof->size(), parsed, why)) << why;
  parsed.circuit.generatorVersion = kGeneratorVersion + 1;
  std::vector<uint8_t> newer = encodeProof(parsed);
  EXPECT_FALSE(claimOfProof(newer.data(), newer.size(), request, claim, why));
  EXPECT_NE(why.find("generator"), std::string::npos) << why;

  request.circuit.seeded = true;
  request.circuit.seed = 7;
  EXPECT_FALSE(claimOfProof(proof->data(), proof->size(), request, claim, why));
  EXPECT_NE(why.find("seed-7"), std::string::npos) << why;
}

TEST_F(BoardLapCheck, CleanClaimAwayFromTheRoadIsRefused) {
  // The same lap judged against a road moved 20 m aside: its claim to be clean
  // no longer holds.
  CircuitTrack moved;
  std::string why;
  ASSERT_TRUE(loadCircuitTrack(data->root, moved, why)) << why;
  for (Vec3& p : moved.proof.centreLine.points) p.x += 20.0;
  CheckedLap lap;
  EXPECT_FALSE(check(*proof, lap, why, moved));
  EXPECT_FALSE(why.empty());
}

TEST_F(BoardLapCheck, TraceRunsTheLapsLengthAtItsSpeeds) {
  std::vector<TraceSample> trace;
  std::string why;
  CheckedLap lap;
  LapClaim claim;
  claim.generatorVersion = kGeneratorVersion;
  ASSERT_TRUE(checkLap(proof->data(), proof->size(), claim, *track, lap, why, &trace, 15)) << why;
  ASSERT_GT(trace.size(), 100u);
  EXPECT_NEAR(trace.back().distance, track->proof.centreLine.length, 0.05 * track->proof.centreLine.length);
  for (size_t i = 1; i < trace.size(); ++i) {
    EXPECT_GE(trace[i].distance, trace[i - 1].distance);
    EXPECT_GT(trace[i].time, trace[i - 1].time);
    EXPECT_LT(trace[i].speed, 100.0f);  // m/s
  }
}

}  // namespace
