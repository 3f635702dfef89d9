#include "app/log.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

// Each case writes log.txt in a folder of its own: other tests running at the
// same time log into the shared test folder.
class Log : public testing::Test {
 protected:
  void SetUp() override {
    char folder[] = "/tmp/stravo-log-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    folder_ = folder;
    ASSERT_EQ(chdir(folder), 0);
  }
  void TearDown() override {
    std::remove((folder_ + "/log.txt").c_str());
    rmdir(folder_.c_str());
  }
  std::string folder_;
};

std::string readLog() {
  std::ifstream in("log.txt", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

TEST_F(Log, LinesFollowALineBreakAndFileHasNoTrailingBreak) {
  openLog();
  logLine("Main: %s", "Init done");
  logLine("Renderer: %i", 42);
  EXPECT_EQ(readLog(), "Log started\nMain: Init done\nRenderer: 42");
}

TEST_F(Log, SecondOpenDiscardsEarlierRun) {
  openLog();
  logLine("Main: first run");
  openLog();
  EXPECT_EQ(readLog(), "Log started");
}

TEST_F(Log, NothingIsWrittenWhileOff) {
  openLog();
  setLogging(false);
  logLine("Main: hidden");
  EXPECT_EQ(readLog(), "Log started");
  setLogging(true);
  logLine("Main: shown");
  EXPECT_EQ(readLog(), "Log started\nMain: shown");
}

TEST_F(Log, OverlongMessageIsCutToTheBuffer) {
  openLog();
  std::string longText(5000, 'x');
  logLine("%s", longText.c_str());
  EXPECT_EQ(readLog(), "Log started\n" + std::string(1023, 'x'));
}
