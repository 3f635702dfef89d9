// The headless runner's saves that fail: a ghosts folder that is a file, a
// full disk and a read-only one, telemetry into /dev/full. Each failure is one
// line on stderr and the run ends with exit code 1; nothing half is left.

#include "tests/sim_tracks.h"
#include "tests/tmpfs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace simtracks;

namespace {

constexpr int kExitFailed = 1;
// The roll to the line and one lap of the oval.
constexpr const char* kLapRun = "--autopilot --ticks 4500";

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

long lineCount(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

class FailedSaves : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = makeDataFolder();
    ASSERT_TRUE(writeOval(dir));
  }
  void TearDown() override { removeDataFolder(dir); }
  std::string err() const { return readFile(dir + "/err.txt"); }

  std::string dir;
};

}  // namespace

TEST_F(FailedSaves, GhostsFolderThatIsAFile) {
  writeFile(dir + "/ghosts", "");
  EXPECT_EQ(runSim(dir, kLapRun), kExitFailed);
  EXPECT_EQ(err(), "stravo-sim: could not save " + dir + "/ghosts/best.ghost: " + dir + "/ghosts is not a folder\n");
  // The run itself is whole: the summary names the lap.
  EXPECT_EQ(lapTimes(readFile(dir + "/out.txt")).size(), 1u);
}

TEST_F(FailedSaves, TelemetryIntoDevFull) {
  EXPECT_EQ(runSim(dir, "--ticks 200 --telemetry /dev/full"), kExitFailed);
  EXPECT_EQ(err(), "stravo-sim: could not save /dev/full: No space left on device\n");
}

TEST_F(FailedSaves, FullDisk) {
  Tmpfs disk(dir + "/ghosts", "size=64k");
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here; /dev/full stands in for telemetry";
  EXPECT_EQ(runSim(dir, std::string(kLapRun) + " --telemetry ghosts/t.csv"), kExitFailed);
  std::string e = err();
  EXPECT_EQ(lineCount(e), 2) << e;
  EXPECT_TRUE(contains(e, "stravo-sim: could not save ghosts/t.csv: No space left on device\n")) << e;
  EXPECT_TRUE(contains(e, "stravo-sim: could not save " + dir + "/ghosts/best.ghost: cannot ")) << e;
  EXPECT_FALSE(std::ifstream(dir + "/ghosts/best.ghost").good());
  EXPECT_FALSE(std::ifstream(dir + "/ghosts/best.ghost.tmp").good());
}

TEST_F(FailedSaves, ReadOnlyDiskRefusesTheRecording) {
  std::string ro = dir + "/ro";
  Tmpfs disk(ro, "size=4m");
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a tmpfs here";
  mkdir((ro + "/data").c_str(), 0755);
  mkdir((ro + "/data/models").c_str(), 0755);
  ASSERT_TRUE(writeOval(ro));
  ASSERT_TRUE(disk.makeReadOnly());
  // The output goes to the writable folder beside it.
  std::string cmd = "cd '" + dir + "' && " STRAVO_SIM_PATH " --dir '" + ro + "' --ticks 10 --record >out.txt 2>err.txt";
  int status = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), kExitFailed);
  EXPECT_EQ(err(), "stravo-sim: could not save " + ro + "/replay.vlr: cannot create " + ro +
                       "/replay.vlr.tmp: Read-only file system\n");
}
