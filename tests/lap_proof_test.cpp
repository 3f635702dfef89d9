// Lap proofs on the test oval: keyboard and autopilot laps recorded beside the
// game's tick and verified by driving them again; every claim a proof makes
// checked by editing it; a car with other constants, a recovery inside the
// lap and a lap through the gravel; the reader's limits.

#include "tests/proof_drive.h"
#include "tests/sim_tracks.h"

#include "game/laps/proof_file.h"
#include "game/laps/proof_verify.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

using namespace proofdrive;
using namespace simtracks;

namespace {

// Enough for the roll to the line and two laps of the oval: the keyboard bot
// laps in about 48 s, the autopilot in 32.
constexpr int kKeyboardTicks = 7600;
constexpr int kAutopilotTicks = 5300;

void putU32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// The oval, and drives recorded on it once for every test here.
class LapProofs : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir = new std::string(makeDataFolder());
    ASSERT_TRUE(writeOval(*dir));
    writeFile(*dir + "/data/datagen.version", "5 seed 7\n");
    track = new ProofTrack;
    std::string why;
    ASSERT_TRUE(loadProofTrack(*dir, *track, why)) << why;

    // Some driving first, then the restart: nothing before it may count.
    keys = new Drive;
    ASSERT_TRUE(openDrive(*dir, *keys, why)) << why;
    KeyboardBot bot;
    driveKeys(*keys, bot, 400);
    restart(*keys);
    driveKeys(*keys, bot, kKeyboardTicks);

    pilot = new Drive;
    ASSERT_TRUE(openDrive(*dir, *pilot, why)) << why;
    Autopilot autopilot;
    driveAutopilot(*pilot, autopilot, kAutopilotTicks);
  }
  static void TearDownTestSuite() {
    delete keys;
    delete pilot;
    delete track;
    removeDataFolder(*dir);
    delete dir;
  }

  static bool verify(const LapProof& proof, ProofVerdict& verdict, std::string& why) {
    std::vector<uint8_t> bytes = encodeProof(proof);
    return verifyProof(bytes.data(), bytes.size(), *track, verdict, why);
  }
  static std::string refusal(const LapProof& proof) {
    ProofVerdict verdict;
    std::string why;
    EXPECT_FALSE(verify(proof, verdict, why));
    return why;
  }

  static std::string* dir;
  static ProofTrack* track;
  static Drive* keys;
  static Drive* pilot;
};

std::string* LapProofs::dir = nullptr;
ProofTrack* LapProofs::track = nullptr;
Drive* LapProofs::keys = nullptr;
Drive* LapProofs::pilot = nullptr;

TEST_F(LapProofs, KeyboardAndAutopilotLapsVerify) {
  for (const Drive* d : {keys, pilot}) {
    ASSERT_EQ(d->proofs.size(), 2u);
    for (size_t i = 0; i < d->proofs.size(); ++i) {
      const LapProof& proof = d->proofs[i];
      ProofVerdict verdict;
      std::string why;
      std::vector<ProofSample> trace;
      std::vector<uint8_t> bytes = encodeProof(proof);
      ASSERT_TRUE(verifyProof(bytes.data(), bytes.size(), *track, verdict, why, &trace)) << why;
      EXPECT_EQ(verdict.lapTime, d->lapTimes[i]);
      EXPECT_TRUE(verdict.clean) << verdict.notCleanReason;
      EXPECT_EQ(verdict.lapClass, LapClass::Plain);
      EXPECT_TRUE(verdict.circuit.seeded);
      EXPECT_EQ(verdict.circuit.seed, 7u);
      EXPECT_EQ(verdict.circuit.generatorVersion, 5u);
      EXPECT_EQ(verdict.totalTicks, proof.lapEndTick + 1);
      EXPECT_NEAR(verdict.sectors[0] + verdict.sectors[1] + verdict.sectors[2], verdict.lapTime, 1e-3);
      ASSERT_EQ(trace.size(), proof.lapEndTick - proof.lapStartTick);
      EXPECT_NEAR(trace.back().distance, Oval::length(), 30.0);
    }
  }
  EXPECT_EQ(pilot->proofs[0].start, ProofStart::StartUp);
  EXPECT_EQ(keys->proofs[0].start, ProofStart::Restart);
}

TEST_F(LapProofs, KeyboardRunIsAFewKilobytes) {
  std::vector<uint8_t> bytes = encodeProof(keys->proofs[1]);
  EXPECT_LT(bytes.size(), 8000u);
}

TEST_F(LapProofs, EditedInputsAreRefused) {
  LapProof proof = keys->proofs[1];
  // A key held one tick longer, well inside the lap.
  for (size_t i = proof.changes.size() / 2; i + 1 < proof.changes.size(); ++i)
    if (proof.changes[i + 1].tick > proof.changes[i].tick + 1) {
      proof.changes[i + 1].tick += 1;
      break;
    }
  EXPECT_FALSE(refusal(proof).empty());
}

TEST_F(LapProofs, EveryClaimIsChecked) {
  const LapProof& good = keys->proofs[1];
  LapProof other = good;
  other.lapStartTick = keys->proofs[0].lapStartTick;  // the two laps as one
  other.lapTime = lapTimeOfTicks(other.lapEndTick - other.lapStartTick);
  EXPECT_NE(refusal(other).find("touches the start line"), std::string::npos);

  other = good;
  other.lapEndTick -= 1;
  other.lapTime = lapTimeOfTicks(other.lapEndTick - other.lapStartTick);
  while (!other.changes.empty() && other.changes.back().tick > other.lapEndTick) other.changes.pop_back();
  EXPECT_NE(refusal(other).find("does not end"), std::string::npos);

  other = good;
  other.lapStartTick += 1;
  other.lapTime = lapTimeOfTicks(other.lapEndTick - other.lapStartTick);
  EXPECT_NE(refusal(other).find("does not start"), std::string::npos);

  other = good;
  other.sectors[1] += 0.01f;
  EXPECT_NE(refusal(other).find("sector 2"), std::string::npos);

  other = good;
  other.endStateHash ^= 1;
  EXPECT_NE(refusal(other).find("state"), std::string::npos);

  other = good;
  other.lapClass = LapClass::Turbo;
  EXPECT_NE(refusal(other).find("turbo"), std::string::npos);

  other = good;
  other.clean = false;
  EXPECT_NE(refusal(other).find("clean"), std::string::npos);

  other = good;
  other.circuit.seed = 8;
  EXPECT_EQ(refusal(other), "driven on the circuit of seed 8");
  other = good;
  other.circuit.trackId ^= 1;
  EXPECT_EQ(refusal(other), "driven on another track");
}

TEST_F(LapProofs, RecoveryInsideTheLapIsRefused) {
  LapProof proof = keys->proofs[1];
  uint32_t middle = (proof.lapStartTick + proof.lapEndTick) / 2;
  size_t at = 0;
  while (at < proof.changes.size() && proof.changes[at].tick < middle) ++at;
  ProofChange recovery = proof.changes[at - 1];
  recovery.tick = middle;
  recovery.recovery = true;
  if (at < proof.changes.size() && proof.changes[at].tick == middle)
    proof.changes[at].recovery = true;
  else
    proof.changes.insert(proof.changes.begin() + long(at), recovery);
  EXPECT_NE(refusal(proof).find("a recovery inside the lap"), std::string::npos);
}

// A run with a recovery before its lap drives the recovery again.
TEST_F(LapProofs, RecoveryBeforeTheLapVerifies) {
  Drive d;
  std::string why;
  ASSERT_TRUE(openDrive(*dir, d, why)) << why;
  restart(d);
  Autopilot autopilot;
  driveAutopilot(d, autopilot, 300);
  recover(d);
  autopilot.lose();
  driveAutopilot(d, autopilot, 5000);
  ASSERT_GE(d.proofs.size(), 1u);
  ProofVerdict verdict;
  ASSERT_TRUE(verify(d.proofs[0], verdict, why)) << why;
  bool recorded = false;
  for (const ProofChange& c : d.proofs[0].changes) recorded = recorded || c.recovery;
  EXPECT_TRUE(recorded);
}

// Engine inertia 0.4 and friction 0.004: a faster car, as another build would
// drive it. Its laps are its own; the verifier's car is this program's.
TEST_F(LapProofs, CarWithOtherConstantsIsRefused) {
  Drive d;
  std::string why;
  ASSERT_TRUE(openDrive(*dir, d, why)) << why;
  restart(d);
  d.car->engineInertia = 0.4f;
  d.car->engineFriction = 0.004f;
  KeyboardBot bot;
  driveKeys(d, bot, 4000);
  ASSERT_GE(d.proofs.size(), 1u);
  EXPECT_FALSE(refusal(d.proofs[0]).empty());
}

TEST_F(LapProofs, LapThroughTheGravelIsTimedButNotClean) {
  Drive d;
  std::string why;
  ASSERT_TRUE(openDrive(*dir, d, why)) << why;
  restart(d);
  KeyboardBot bot;
  driveKeys(d, bot, 2500);  // past the line, into the first lap
  bot.offset = 18.0;        // out onto the gravel for a stretch
  driveKeys(d, bot, 600);
  bot.offset = 0.0;
  driveKeys(d, bot, 6000);
  ASSERT_GE(d.proofs.size(), 1u);
  const LapProof& proof = d.proofs[0];
  EXPECT_FALSE(proof.clean);
  ProofVerdict verdict;
  ASSERT_TRUE(verify(proof, verdict, why)) << why;
  EXPECT_FALSE(verdict.clean);
  EXPECT_NE(verdict.notCleanReason.find("off the road"), std::string::npos) << verdict.notCleanReason;
  LapProof claimed = proof;
  claimed.clean = true;
  EXPECT_NE(refusal(claimed).find("stated clean, but it is not"), std::string::npos);
}

TEST_F(LapProofs, FileImageRoundTrips) {
  for (const LapProof& proof : keys->proofs) {
    std::vector<uint8_t> bytes = encodeProof(proof);
    LapProof back;
    std::string why;
    ASSERT_TRUE(parseProof(bytes.data(), bytes.size(), back, why)) << why;
    EXPECT_EQ(encodeProof(back), bytes);
  }
}

TEST_F(LapProofs, DamagedImagesNeverVerify) {
  std::vector<uint8_t> bytes = encodeProof(keys->proofs[1]);
  LapProof proof;
  std::string why;
  for (size_t n = 0; n < bytes.size(); n += 7) EXPECT_FALSE(parseProof(bytes.data(), n, proof, why));
  for (size_t at = 0; at < bytes.size(); at += 5) {
    std::vector<uint8_t> bad = bytes;
    bad[at] ^= 0x10;
    EXPECT_FALSE(parseProof(bad.data(), bad.size(), proof, why)) << at;
  }
}

TEST_F(LapProofs, ImpossibleCountsAreRefusedBeforeReading) {
  std::vector<uint8_t> bytes = encodeProof(keys->proofs[1]);
  LapProof proof;
  std::string why;
  std::vector<uint8_t> bad = bytes;
  putU32(bad, 44, kMaxProofTicks);
  EXPECT_FALSE(parseProof(bad.data(), bad.size(), proof, why));
  EXPECT_NE(why.find("impossible lap ticks"), std::string::npos);
  bad = bytes;
  putU32(bad, 72, uint32_t(bytes.size()));  // more records than the bytes hold
  EXPECT_FALSE(parseProof(bad.data(), bad.size(), proof, why));
  EXPECT_NE(why.find("impossible change record count"), std::string::npos);
  bad = bytes;
  putU32(bad, 76, 0xfffffff0u);
  EXPECT_FALSE(parseProof(bad.data(), bad.size(), proof, why));
  EXPECT_NE(why.find("truncated"), std::string::npos);
}

TEST_F(LapProofs, OlderFormatAndPhysicsAreRefused) {
  std::vector<uint8_t> bytes = encodeProof(keys->proofs[1]);
  LapProof proof;
  std::string why;
  std::vector<uint8_t> bad = bytes;
  putU32(bad, 8, 1);
  EXPECT_FALSE(parseProof(bad.data(), bad.size(), proof, why));
  EXPECT_EQ(why, "made by an older version; it holds no standing start");
  bad = bytes;
  putU32(bad, 12, kPhysicsVersion + 1);
  EXPECT_FALSE(parseProof(bad.data(), bad.size(), proof, why));
  EXPECT_NE(why.find("physics version"), std::string::npos);
}

TEST(VersionStamp, DefaultAndSeededCircuits) {
  ProofCircuit c;
  const std::string plain = "5\n", seeded = "6 seed 4294967295\n";
  ASSERT_TRUE(parseVersionStamp(reinterpret_cast<const uint8_t*>(plain.data()), plain.size(), c));
  EXPECT_EQ(c.generatorVersion, 5u);
  EXPECT_FALSE(c.seeded);
  ASSERT_TRUE(parseVersionStamp(reinterpret_cast<const uint8_t*>(seeded.data()), seeded.size(), c));
  EXPECT_EQ(c.generatorVersion, 6u);
  EXPECT_TRUE(c.seeded);
  EXPECT_EQ(c.seed, 4294967295u);
  for (const std::string bad : {"", "5", "x\n", "5 seed\n", "5 seed 4294967296\n", "5 seeds 3\n"})
    EXPECT_FALSE(parseVersionStamp(reinterpret_cast<const uint8_t*>(bad.data()), bad.size(), c)) << bad;
}

}  // namespace
