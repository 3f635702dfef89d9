// What the board client sends and takes back: an autopilot lap's proof on the
// test oval, read for its class and turned into a ghost lap only when it
// drives again on the same circuit.

#include "tests/proof_drive.h"
#include "tests/sim_tracks.h"

#include "app/lap_proof.h"
#include "game/laps/ghosts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace proofdrive;
using namespace simtracks;

namespace {

// The roll to the line and two autopilot laps of the oval.
constexpr int kAutopilotTicks = 5300;

TEST(BoardProof, AFetchedProofBecomesAGhostLapOnlyOnItsOwnCircuit) {
  std::string dir = makeDataFolder(), why;
  ASSERT_TRUE(writeOval(dir));
  writeFile(dir + "/data/datagen.version", "7 seed 3\n");
  Drive drive;
  ASSERT_TRUE(openDrive(dir, drive, why)) << why;
  Autopilot pilot;
  driveAutopilot(drive, pilot, kAutopilotTicks);
  ASSERT_GE(drive.proofs.size(), 2u);
  const LapProof& flying = drive.proofs[1];
  std::vector<uint8_t> proof = encodeProof(flying);

  LapClass lapClass = LapClass::Turbo;
  ASSERT_TRUE(proofClass(proof, drive.track.circuit.trackId, lapClass, why)) << why;
  EXPECT_EQ(lapClass, LapClass::Plain);
  EXPECT_FALSE(proofClass(proof, drive.track.circuit.trackId + 1, lapClass, why));

  GhostLap lap;
  ASSERT_TRUE(checkProof(proof, drive.track, lap, why)) << why;
  EXPECT_EQ(lap.lapTime, flying.lapTime);
  EXPECT_EQ(lap.lapClass, LapClass::Plain);
  EXPECT_FALSE(lap.inputs.empty());

  LapProof otherCircuit = flying;
  otherCircuit.circuit.seed = 4;
  EXPECT_FALSE(checkProof(encodeProof(otherCircuit), drive.track, lap, why));
  std::vector<uint8_t> damaged = proof;
  damaged[damaged.size() / 2] ^= 0x40;
  EXPECT_FALSE(checkProof(damaged, drive.track, lap, why));
  EXPECT_FALSE(why.empty());
  removeDataFolder(dir);
}

TEST(BoardProof, NoProofWithoutACompletedLap) {
  Ghosts ghosts;
  std::vector<uint8_t> proof;
  EXPECT_FALSE(proofOfLap(ghosts, proof));
  EXPECT_TRUE(proof.empty());
}

}  // namespace
